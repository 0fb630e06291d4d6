#include "app/batch/batch_work_area.h"
#include "Support/Win32/Support_FileM.h"
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace batch {
PrivateWorkArea::PrivateWorkArea() {
    const char* appData = std::getenv("APPDATA");
    parent_ = FileM_SaveAreaIn(appData && *appData ? appData : FileM_DefaultAppData());
    std::error_code error;
    std::filesystem::create_directories(parent_, error);
    std::string pattern = parent_ + "batch-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) {
        return;
    }
    path_ = name.data();
    setenv("APPDATA", path_.c_str(), 1);
    setenv("LOCALAPPDATA", path_.c_str(), 1);
}

PrivateWorkArea::~PrivateWorkArea() {
    if (Ready()) {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
}
} // namespace batch
