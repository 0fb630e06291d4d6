#include "app/batch/batch_lifetime_lock.h"
#include "utf16.h"
#include <windows.h>

namespace batch {
namespace {
// Shared with nobody: while one process has it open, every other open fails with a sharing violation.
HANDLE OpenAlone(const std::string& path, DWORD creation) {
    return CreateFileW(win::wide_path(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
} // namespace

LifetimeLock::LifetimeLock(const std::string& path) {
    HANDLE file = OpenAlone(path, OPEN_ALWAYS);
    if (file != INVALID_HANDLE_VALUE) {
        handle_ = reinterpret_cast<intptr_t>(file);
    }
}

void LifetimeLock::Release() {
    if (Held()) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
        handle_ = -1;
    }
}

bool LifetimeLock::Abandoned(const std::string& path) {
    HANDLE file = OpenAlone(path, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}
} // namespace batch
