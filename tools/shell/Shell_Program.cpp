// Programs: looked up only in the session's folder, started directly (never through a shell).
#include "Shell_Builtins.h"
#include "Shell_FileSystem.h"
#include "Shell_Names.h"
#include "Shell_Process.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <algorithm>
#include <vector>

namespace shell {
namespace {

// Only "<name>.exe" in the current folder runs (a name without extension gets ".exe"); a name
// with a folder or a drive in it, or any other file, is not a program. No search path is consulted, so no
// text in a command line can reach a program outside the lib folder.
std::string FindProgram(const Session& session, const std::string& name) {
    if (name.empty() || std::any_of(name.begin(), name.end(), IsSeparator) ||
        name.find(':') != std::string::npos) {
        return {};
    }
    std::string candidate = name;
    if (!EndsWithText(candidate, ".exe")) {
        if (candidate.find('.') != std::string::npos) {
            return {};
        }
        candidate += ".exe";
    }
    std::string path = Absolute(session.cwd(), candidate);
    return Inspect(path).regular ? path : std::string();
}

} // namespace

int RunProgram(Session& session, std::string_view text, int out) {
    std::vector<std::string> arguments = SplitProgramArguments(text);
    for (std::string& argument : arguments) {
        argument = ProgramArgument(NativePath(argument));
    }
    std::string path = FindProgram(session, arguments[0]);
    if (path.empty()) {
        ReportError("'" + arguments[0] + "' is not recognized as an internal or external command,\n" +
                    "operable program or batch file.");
        return NotFoundStatus;
    }
    // Output other than the interpreter's own goes to a redirection's file, which the line may remove
    // next.
    bool redirected = out != 1;
    std::optional<int> status =
        RunChild(ChildRequest{path, std::move(arguments), session.cwd(), false, out, -1, redirected});
    if (!status) {
        ReportError("Access is denied.");
        return 1;
    }
    return *status;
}

} // namespace shell
