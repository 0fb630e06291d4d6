#include "Shell_Lifeline.h"
#include "Shell_Process.h"
#include "Shell_Session.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
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

// 128 + the signal's number when a signal ended the child; 1 if it cannot be waited for.
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

// The program being waited for, so that the lifeline's end takes it along; the lock keeps a program
// from starting while the process ends.
pthread_mutex_t startLock = PTHREAD_MUTEX_INITIALIZER;
pid_t running = 0;

void SetRunning(pid_t pid) {
    ::pthread_mutex_lock(&startLock);
    running = pid;
    ::pthread_mutex_unlock(&startLock);
}
} // namespace

std::optional<int> RunChild(const ChildRequest& request) {
    if (request.endsWithTool) {
        HoldLifeline();
    }
    ::pthread_mutex_lock(&startLock);
    pid_t pid = StartChild(request);
    running = pid > 0 ? pid : 0;
    ::pthread_mutex_unlock(&startLock);
    if (pid < 0) {
        return std::nullopt;
    }
    int status = WaitForExit(pid);
    SetRunning(0);
    return status;
}

void EndWithRunningChild() {
    ::pthread_mutex_lock(&startLock);
    if (running > 0) {
        ::kill(running, SIGKILL);
    }
    ::_exit(128 + SIGKILL);
}

// The command runs in a grandchild whose parent exits at once: nothing waits for it, and the
// system reaps it when it ends.
int StartDetached(const Session& session, std::string_view command, int out) {
    pid_t child = ::fork();
    if (child < 0) {
        return 1;
    }
    if (child == 0) {
        if (::fork() == 0) {
            // Only this thread came along: the lock starts free and the lifeline needs a watcher again.
            startLock = PTHREAD_MUTEX_INITIALIZER;
            running = 0;
            WatchLifeline();
            Session background = session;
            ::_exit(background.RunCommand(command, out) & 0xFF);
        }
        ::_exit(0);
    }
    return WaitForExit(child);
}

bool IsProgramFile(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

// Found through the loaded module itself: the runtime makes the library's folder the current folder
// only around loading, so a relative load path would not resolve later.
std::string InterpreterBeside(const void* address) {
    Dl_info info{};
    char path[PATH_MAX];
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr ||
        ::realpath(info.dli_fname, path) == nullptr) {
        return "morvane-cmd";
    }
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('/') + 1) + "morvane-cmd";
}

} // namespace shell
