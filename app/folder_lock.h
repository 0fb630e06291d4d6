// tuner.log is one file for every container of a folder: its line is appended under the folder's own
// lock (containers have theirs, container_lock.h), so lines from actions side by side never mix.
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
} // namespace tool
