#include "Shell_Lifeline.h"
#include "Shell_Process.h"
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace shell {
namespace {
constexpr const char* LifelineVariable = "MORVANE_LIFELINE";
// The pipe's ends while held, else -1. A window cuts it from its own thread while a line runs on another.
std::mutex lifelineLock;
int readingEnd = -1;
int writingEnd = -1;
} // namespace

// Forked copies of the tool (batch workers) hold the writing end too; they end with the tool on their own.
void HoldLifeline() {
    std::lock_guard lock(lifelineLock);
    if (writingEnd >= 0) {
        return;
    }
    int ends[2];
    if (::pipe(ends) != 0) {
        return;
    }
    ::fcntl(ends[1], F_SETFD, FD_CLOEXEC);
    if (::setenv(LifelineVariable, std::to_string(ends[0]).c_str(), 1) != 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return;
    }
    readingEnd = ends[0];
    writingEnd = ends[1];
}

// The variable still names the closed end until the next HoldLifeline, which every start makes first.
void CutLifeline() {
    std::lock_guard lock(lifelineLock);
    if (writingEnd < 0) {
        return;
    }
    ::close(writingEnd);
    ::close(readingEnd);
    writingEnd = readingEnd = -1;
}

int WatchLifeline() {
    const char* named = std::getenv(LifelineVariable);
    int fd = named != nullptr ? std::atoi(named) : -1;
    struct stat info;
    if (fd < 3 || ::fstat(fd, &info) != 0 || !S_ISFIFO(info.st_mode)) {
        return -1;
    }
    // The programs the interpreter runs need not hold it: they end with the interpreter.
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    std::thread([fd] {
        char byte;
        // Nobody writes into the pipe: the read returns only when the last writing end is gone.
        while (::read(fd, &byte, 1) < 0 && errno == EINTR) {
        }
        EndWithRunningChild();
    }).detach();
    return fd;
}
} // namespace shell
