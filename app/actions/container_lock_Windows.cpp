#include "Support/Win32/Support_System.h"
#include "app/actions/container_lock.h"
#include <filesystem>
#include <windows.h>

namespace tool {
namespace {
// A lock file for each container, named after its full path (case-blind, as the paths are) in the
// user's roaming folder, which batch mode's private APPDATA does not move. Files are replaced under
// their names, so the lock cannot be the container's own. The system drops it when its holder ends.
HANDLE ContainerLockFile(const std::string& key) {
    std::wstring full = System_Path(key).native();
    CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    const std::filesystem::path locks =
        System_Path(System_DefaultAppData()) / L"Morvane_Radio_Tuner" / L"locks";
    std::error_code ignored;
    std::filesystem::create_directories(locks, ignored);
    const std::wstring name = std::to_wstring(std::hash<std::wstring>{}(full)) + L".lock";
    return CreateFileW((locks / name).c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool Lock(HANDLE file, DWORD flags) {
    OVERLAPPED first{};
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | flags, 0, 1, 0, &first) != 0;
}
} // namespace

ContainerLock::ContainerLock(const std::string& container, const Wait& wait)
    : key_(System_ResolvedPath(container)) {
    HANDLE file = ContainerLockFile(key_);
    if (file == INVALID_HANDLE_VALUE)
        return;
    held_.push_back(reinterpret_cast<intptr_t>(file));
    if (Lock(file, LOCKFILE_FAIL_IMMEDIATELY))
        return;
    wait([file] { Lock(file, 0); });
}

ContainerLock::~ContainerLock() {
    for (intptr_t file : held_)
        CloseHandle(reinterpret_cast<HANDLE>(file));
}

// The lock file stands for the name, whatever file it leads to.
void ContainerLock::HoldNewFile(const std::string&, intptr_t) {}
} // namespace tool
