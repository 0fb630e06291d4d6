#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/single_window.h"
#include <filesystem>
#include <windows.h>

namespace single_window {
namespace {
// Open (not inherited, so no helper program holds the lock) until the process ends.
struct HeldLock {
    HANDLE file = INVALID_HANDLE_VALUE;
    ~HeldLock() {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
};
HeldLock windowLock;
} // namespace

bool Claim() {
    if (windowLock.file == INVALID_HANDLE_VALUE) {
        // The save area the runtime will use: %APPDATA% (or the known folder) + the game name.
        const std::filesystem::path folder = System_Path(FileM_DefaultAppData()) / "Morvane_Radio_Tuner";
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        windowLock.file = CreateFileW((folder / "window.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    // Without a lock file there is nothing to go by: let the window run.
    OVERLAPPED whole{};
    return windowLock.file == INVALID_HANDLE_VALUE ||
           LockFileEx(windowLock.file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole);
}

} // namespace single_window
