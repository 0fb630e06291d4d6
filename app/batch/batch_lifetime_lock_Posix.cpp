#include "app/batch/batch_lifetime_lock.h"
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace batch {
LifetimeLock::LifetimeLock(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        handle_ = fd;
    } else if (fd >= 0) {
        ::close(fd);
    }
}

void LifetimeLock::Release() {
    if (Held()) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

bool LifetimeLock::Abandoned(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    bool abandoned = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return abandoned;
}
} // namespace batch
