#include "app/batch/batch_folder_lock.h"
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace batch {
FolderLock::FolderLock(const std::string& shown, const std::string& container) {
    std::string folder = std::filesystem::path(container).parent_path().string();
    folder_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0 || ::flock(folder_, LOCK_EX | LOCK_NB) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: waiting for another batch working in its folder\n", shown.c_str());
    while (::flock(folder_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock() {
    if (folder_ >= 0) {
        ::close(folder_);
    }
}
} // namespace batch
