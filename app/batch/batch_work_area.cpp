#include "app/batch/batch_work_area.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/batch/batch_files.h"
#include <cstdlib>
#include <filesystem>

namespace batch {
namespace {
namespace fs = std::filesystem;
constexpr const char* LockName = "/batch.lock";

// Folders left by a batch that was killed: nobody holds their lock any more.
void RemoveAbandoned(const std::string& parent) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(System_Path(parent), error)) {
        const std::string folder = System_PathText(entry.path());
        if (!System_PathText(entry.path().filename()).starts_with("batch-") || !entry.is_directory(error)) {
            continue;
        }
        if (LifetimeLock::Abandoned(folder + LockName)) {
            fs::remove_all(entry.path(), error);
        }
    }
}
} // namespace

PrivateWorkArea::PrivateWorkArea() {
    const char* appData = std::getenv("APPDATA");
    parent_ = FileM_SaveAreaIn(appData && *appData ? appData : FileM_DefaultAppData());
    std::error_code error;
    fs::create_directories(System_Path(parent_), error);
    RemoveAbandoned(parent_);
    const std::string made = MakeFreshFolder(parent_ + "batch-");
    if (made.empty()) {
        return;
    }
    // Held until the process ends, however it ends: the sign that the folder is in use.
    lock_.emplace(made + LockName);
    if (!lock_->Held()) {
        fs::remove_all(System_Path(made), error);
        return;
    }
    path_ = made;
    System_SetEnvironment("APPDATA", path_);
    System_SetEnvironment("LOCALAPPDATA", path_);
}

PrivateWorkArea::~PrivateWorkArea() {
    // Let go first: Windows removes no folder with an open file in it.
    if (lock_) {
        lock_->Release();
    }
    if (Ready()) {
        std::error_code error;
        fs::remove_all(System_Path(path_), error);
    }
}
} // namespace batch
