// Every action on a container, in the window and in batch mode alike, holds the container's lock from
// the first line that reads it to the last that writes it or its backup: two actions on one container
// (a window's Restore and a batch's Replace, two batches) run one after the other, never interleaved,
// while containers side by side in one folder are worked on at once. Two paths of one file (a link,
// "..") share the lock; hard links do not. A folder can be locked the same way (tuner.log's line).
#pragma once
#include "app/actions/blocking.h"
#include <cstdint>
#include <string>
#include <vector>

namespace tool {
class ContainerLock {
  public:
    // `wait` is called only when another action holds the container; it must call the function it is
    // given, which blocks until the lock is ours. A container that cannot be opened is not locked: the
    // action then fails on its own.
    using Wait = Blocking;
    ContainerLock(const std::string& container, const Wait& wait);
    ~ContainerLock();
    ContainerLock(const ContainerLock&) = delete;
    ContainerLock& operator=(const ContainerLock&) = delete;

    // A new file about to be renamed over a container this process holds is locked first, so that the
    // name never leads to a file another action could lock meanwhile. Nothing for other files.
    static void HoldNewFile(const std::string& path, intptr_t file);

  private:
    std::string key_;
    std::vector<intptr_t> held_; // POSIX: descriptors of the container's files; Windows: one lock file
};

// The window's lock: a wait is a modal wait of the platform, so the window is still pumped meanwhile.
ContainerLock window_container_lock(const std::string& container);
} // namespace tool
