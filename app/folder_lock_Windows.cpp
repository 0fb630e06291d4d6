#include "Support/Win32/Support_System.h"
#include "app/folder_lock.h"
#include <filesystem>
#include <functional>
#include <windows.h>

namespace tool {
namespace {
// A folder cannot be locked on Windows, so each folder has a lock file of its own, named after its
// full path (case-blind, as the paths are) in the user's roaming folder, which batch mode's private
// APPDATA does not move. The system drops the lock when its holder ends, however it ends.
HANDLE FolderLockFile(const std::string& container) {
    std::wstring folder = System_Path(container).parent_path().native();
    if (folder.empty())
        folder = L".";
    std::wstring full(GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
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

FolderLock::FolderLock(const std::string& container, const Wait& wait) {
    HANDLE file = FolderLockFile(container);
    if (file == INVALID_HANDLE_VALUE)
        return;
    folder_ = reinterpret_cast<intptr_t>(file);
    if (Lock(file, LOCKFILE_FAIL_IMMEDIATELY))
        return;
    wait([file] { Lock(file, 0); });
}

FolderLock::~FolderLock() {
    if (folder_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(folder_));
}
} // namespace tool
