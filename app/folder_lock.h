// Every action on a container, in the window and in batch mode alike, holds a lock on the container's
// folder from the first line that reads the container to the last that writes it: the container, its
// backup, tuner.log and the rebuild's temporary files all live there, so two actions on one container
// (a window's Restore and a batch's Replace, two batches) run one after the other, never interleaved.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace tool {
class FolderLock {
  public:
    // `wait` is called only when another action holds the folder; it must call the function it is
    // given, which blocks until the lock is ours. A folder that cannot be opened is not locked: the
    // action then fails on its own.
    using Wait = std::function<void(const std::function<void()>& block)>;
    FolderLock(const std::string& container, const Wait& wait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    intptr_t folder_ = -1; // the folder's descriptor (POSIX) or a named mutex (folder_lock_Windows.cpp)
};

// The window's lock: a wait is a modal wait of the platform, so the window is still pumped meanwhile.
FolderLock window_folder_lock(const std::string& container);
} // namespace tool
