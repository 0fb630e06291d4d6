#include "morvane_cmd.h"
#include "Shell_FileSystem.h"
#include "Shell_Session.h"
#include <cstdio>

namespace shell {

int InterpreterMain(const std::vector<std::string>& arguments) {
    bool oneCommand = arguments.size() == 3 && arguments[1] == "--command";
    if (arguments.size() != 2 && !oneCommand) {
        std::fputs("usage: morvane-cmd \"<command line>\"\n", stderr);
        return 2;
    }
    std::optional<std::string> cwd = CurrentFolder();
    if (!cwd) {
        std::fputs("morvane-cmd: the current folder cannot be read\n", stderr);
        return 1;
    }
    Session session(*cwd);
    return oneCommand ? session.RunCommand(arguments[2], 1) : session.Run(arguments[1]);
}

} // namespace shell
