// Programs: looked up only in the session's folder, started directly with posix_spawn.
#include "Shell_Builtins.h"
#include "Shell_Process.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace shell {
namespace {

// Only "<name>.exe" in the current folder runs (a name without extension gets ".exe"); a name
// with a folder in it, or any other file, is not a program. No search path is consulted, so no
// text in a command line can reach a program outside the lib folder.
std::string FindProgram(const Session& session, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) {
        return {};
    }
    std::string candidate = name;
    if (!EndsWithText(candidate, ".exe")) {
        if (candidate.find('.') != std::string::npos) {
            return {};
        }
        candidate += ".exe";
    }
    std::string path = session.cwd() + "/" + candidate;
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    return path;
}

class SpawnSetup {
  public:
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
        sigset_t none;
        sigemptyset(&none);
        ::posix_spawnattr_setsigmask(&attributes_, &none);
        ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    posix_spawn_file_actions_t* actions() { return &actions_; }
    posix_spawnattr_t* attributes() { return &attributes_; }

  private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

} // namespace

int RunProgram(Session& session, std::string_view text, int out) {
    std::vector<std::string> arguments = SplitProgramArguments(text);
    for (std::string& argument : arguments) {
        argument = ToSlashes(argument);
    }
    std::string path = FindProgram(session, arguments[0]);
    if (path.empty()) {
        ReportError("'" + arguments[0] + "' is not recognized as an internal or external command,\n" +
                    "operable program or batch file.");
        return NotFoundStatus;
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    SpawnSetup setup;
    ::posix_spawn_file_actions_addchdir_np(setup.actions(), session.cwd().c_str());
    if (out != STDOUT_FILENO) {
        ::posix_spawn_file_actions_adddup2(setup.actions(), out, STDOUT_FILENO);
    }
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.c_str(), setup.actions(), setup.attributes(), argv.data(), environ) != 0) {
        ReportError("Access is denied.");
        return 1;
    }
    return WaitForExit(pid);
}

} // namespace shell
