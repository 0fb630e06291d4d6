#include "app/batch/batch_work_area.h"
#include "Support/Win32/Support_FileM.h"
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace batch {
namespace {
namespace fs = std::filesystem;
constexpr const char* LockName = "/batch.lock";

// Folders left by a batch that was killed: nobody holds their lock any more.
void RemoveAbandoned(const std::string& parent) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(parent, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("batch-", 0) != 0 || !entry.is_directory(error)) {
            continue;
        }
        int fd = ::open((entry.path().string() + LockName).c_str(), O_RDONLY | O_CLOEXEC);
        bool abandoned = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0) {
            ::close(fd);
        }
        if (abandoned) {
            fs::remove_all(entry.path(), error);
        }
    }
}
} // namespace

PrivateWorkArea::PrivateWorkArea() {
    const char* appData = std::getenv("APPDATA");
    parent_ = FileM_SaveAreaIn(appData && *appData ? appData : FileM_DefaultAppData());
    std::error_code error;
    fs::create_directories(parent_, error);
    RemoveAbandoned(parent_);
    std::string pattern = parent_ + "batch-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        return;
    }
    // Held until the process ends, however it ends: the sign that the folder is in use.
    lock_ = ::open((std::string(name.data()) + LockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock_ < 0 || ::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        fs::remove_all(name.data(), error);
        return;
    }
    path_ = name.data();
    setenv("APPDATA", path_.c_str(), 1);
    setenv("LOCALAPPDATA", path_.c_str(), 1);
}

PrivateWorkArea::~PrivateWorkArea() {
    if (Ready()) {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    if (lock_ >= 0) {
        ::close(lock_);
    }
}
} // namespace batch
