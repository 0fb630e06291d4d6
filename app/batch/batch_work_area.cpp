#include "app/batch/batch_work_area.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/action_files.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace batch {
namespace {
namespace fs = std::filesystem;
constexpr const char* LockName = "/batch.lock";

// Windows lets a file go a moment after the process that held it has ended; meanwhile its folder
// cannot be removed. Elsewhere the first attempt succeeds.
void RemoveSoon(const fs::path& path) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        std::error_code error;
        fs::remove_all(path, error);
        if (!error) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

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
    const std::string made = tool::MakeFreshFolder(parent_ + "batch-");
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

// The lock goes last: a folder that could not be removed whole still has it, free, so the next batch
// removes the rest.
PrivateWorkArea::~PrivateWorkArea() {
    if (Ready()) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(System_Path(path_), error)) {
            if (System_PathText(entry.path().filename()) != LockName + 1) {
                RemoveSoon(entry.path());
            }
        }
    }
    // Windows removes no file that is open.
    if (lock_) {
        lock_->Release();
    }
    if (Ready()) {
        RemoveSoon(System_Path(path_));
    }
}
} // namespace batch
