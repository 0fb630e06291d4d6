// Batches started side by side may name the same container: each action holds a lock on the
// container's folder, where the container, its backup and the rebuild's temporary files live, so two
// actions on one container run one after the other. A window takes no such lock and is never held up.
#pragma once
#include <string>

namespace batch {
class FolderLock {
  public:
    // Waits, after saying so on stderr, while another batch holds the folder of `container`. A folder
    // that cannot be opened is not locked: the action then fails on its own.
    FolderLock(const std::string& shown, const std::string& container);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int folder_ = -1;
};
} // namespace batch
