#include "Shell_Builtins.h"
#include "Shell_Files.h"
#include "Shell_Names.h"
#include "Shell_Words.h"
#include <unistd.h>

namespace shell {
namespace {

struct NamedBuiltin {
    std::string_view name;
    Builtin builtin;
};

constexpr NamedBuiltin kBuiltins[] = {
    {"cd", Builtin_Cd},       {"chdir", Builtin_Cd},      {"mkdir", Builtin_Mkdir},
    {"md", Builtin_Mkdir},    {"rmdir", Builtin_Rmdir},   {"rd", Builtin_Rmdir},
    {"copy", Builtin_Copy},   {"del", Builtin_Del},       {"erase", Builtin_Del},
    {"echo", Builtin_Echo},   {"start", Builtin_Start},   {"cmd", Builtin_Cmd},
    {"cmd.exe", Builtin_Cmd}, {"expand", Builtin_Expand}, {"expand.exe", Builtin_Expand},
};

} // namespace

Builtin FindBuiltin(std::string_view name) {
    for (const NamedBuiltin& entry : kBuiltins) {
        if (SameText(entry.name, name)) {
            return entry.builtin;
        }
    }
    return nullptr;
}

void ReportError(std::string_view message) {
    std::string line(message);
    line += '\n';
    // Best effort: a diagnostic that cannot be written changes nothing.
    [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

int Builtin_Echo(Session&, std::string_view arguments, int out) {
    if (arguments.find_first_not_of(" \t") == std::string_view::npos) {
        return WriteAll(out, "ECHO is on.\n") ? 0 : 1;
    }
    // The first blank only separates the text from the command name.
    std::string text = DecodeNames(arguments.substr(1));
    text += '\n';
    return WriteAll(out, text) ? 0 : 1;
}

} // namespace shell
