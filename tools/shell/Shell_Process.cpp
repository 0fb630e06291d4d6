#include "Shell_Process.h"
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace shell {
namespace {

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

pid_t StartChild(const ChildRequest& request) {
    SpawnSetup setup;
    ::posix_spawn_file_actions_addchdir_np(setup.actions(), request.folder.c_str());
    if (request.inputFromNull) {
        ::posix_spawn_file_actions_addopen(setup.actions(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    if (request.output >= 0 && request.output != STDOUT_FILENO) {
        ::posix_spawn_file_actions_adddup2(setup.actions(), request.output, STDOUT_FILENO);
    }
    if (request.errors >= 0 && request.errors != STDERR_FILENO) {
        ::posix_spawn_file_actions_adddup2(setup.actions(), request.errors, STDERR_FILENO);
    }
    std::vector<char*> argv;
    for (const std::string& argument : request.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, request.program.c_str(), setup.actions(), setup.attributes(), argv.data(),
                      environ) != 0) {
        return -1;
    }
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return 1;
        }
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

} // namespace shell
