#include "Support/Win32/Support_System.h"
#include "app/actions/container_lock.h"
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tool {
namespace {
// The locks this process holds, by the container's resolved path.
std::vector<ContainerLock*>& held_here() {
    static std::vector<ContainerLock*> locks;
    return locks;
}

void lock_blocking(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// The name still leads to the file whose lock we took: a replacement renamed over it since would
// leave the lock on a file nobody looks for.
bool still_named(int fd, const std::string& path) {
    struct stat locked;
    struct stat named;
    return ::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
           locked.st_ino == named.st_ino;
}
} // namespace

// The lock is the container file's own: visible to every user and data folder, and let go by the
// system however its holder ends.
ContainerLock::ContainerLock(const std::string& container, const Wait& wait)
    : key_(System_ResolvedPath(container)) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::open(key_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            break;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            wait([fd] { lock_blocking(fd); });
        }
        if (still_named(fd, key_)) {
            held_.push_back(fd);
            break;
        }
        ::close(fd);
    }
    held_here().push_back(this);
}

ContainerLock::~ContainerLock() {
    std::erase(held_here(), this);
    for (intptr_t fd : held_) {
        ::close(static_cast<int>(fd));
    }
}

void ContainerLock::HoldNewFile(const std::string& path, intptr_t file) {
    const std::string key = System_ResolvedPath(path);
    for (ContainerLock* lock : held_here()) {
        if (lock->key_ == key) {
            int fd = ::fcntl(static_cast<int>(file), F_DUPFD_CLOEXEC, 0);
            if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                lock->held_.push_back(fd);
            } else if (fd >= 0) {
                ::close(fd);
            }
        }
    }
}
} // namespace tool
