// cd, mkdir and rmdir.
#include "Shell_Builtins.h"
#include "Shell_FileSystem.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <algorithm>
#include <vector>

namespace shell {
namespace {

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > std::max<size_t>(RootLength(path), 1) && IsSeparator(path.back())) {
        path.pop_back();
    }
    return path;
}

bool RemoveFolder(const std::string& path, bool wholeTree) {
    std::string name = BaseName(path);
    if (name.empty() || name == "." || name == ".." || path.size() <= RootLength(path)) {
        return false;
    }
    return wholeTree ? RemoveTree(path) : RemoveEmptyFolder(path);
}

} // namespace

int Builtin_Cd(Session& session, std::string_view arguments, int out) {
    std::vector<std::string> operands = Operands(arguments, "d");
    if (operands.empty()) {
        std::string current = session.cwd() + "\n";
        return WriteAll(out, current) ? 0 : 1;
    }
    std::string joined = operands[0];
    for (size_t i = 1; i < operands.size(); ++i) {
        joined += " " + operands[i];
    }
    std::optional<std::string> folder = FullFolderPath(session.Resolve(joined));
    if (!folder) {
        ReportError("The system cannot find the path specified.");
        return 1;
    }
    session.SetCwd(*folder);
    return 0;
}

int Builtin_Mkdir(Session& session, std::string_view arguments, int) {
    std::vector<std::string> operands = Operands(arguments, "");
    int status = operands.empty() ? 1 : 0;
    for (const std::string& operand : operands) {
        std::string path = WithoutTrailingSeparators(session.Resolve(operand));
        if (Exists(path)) {
            ReportError("A subdirectory or file " + path + " already exists.");
            status = 1;
        } else if (!MakeFolders(path)) {
            ReportError("Access is denied.");
            status = 1;
        }
    }
    return status;
}

int Builtin_Rmdir(Session& session, std::string_view arguments, int) {
    bool wholeTree = HasSwitch(arguments, "s");
    std::vector<std::string> operands = Operands(arguments, "sq");
    int status = operands.empty() ? 1 : 0;
    for (const std::string& operand : operands) {
        // An empty name would be the current folder itself.
        if (Unquote(operand).empty() ||
            !RemoveFolder(WithoutTrailingSeparators(session.Resolve(operand)), wholeTree)) {
            ReportError("The system cannot find the file specified.");
            status = 1;
        }
    }
    return status;
}

} // namespace shell
