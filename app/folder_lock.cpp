#include "app/folder_lock.h"
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace tool {
FolderLock::FolderLock(const std::string& container, const Wait& wait) {
    std::string folder = std::filesystem::path(container).parent_path().string();
    folder_ = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0 || ::flock(folder_, LOCK_EX | LOCK_NB) == 0) {
        return;
    }
    wait([this] {
        while (::flock(folder_, LOCK_EX) != 0 && errno == EINTR) {
        }
    });
}

FolderLock::~FolderLock() {
    if (folder_ >= 0) {
        ::close(folder_);
    }
}
} // namespace tool
