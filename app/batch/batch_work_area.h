// Batch mode's own working folder under the user's save area. It becomes the APPDATA of this process
// and of every program it starts, so its lib directory and scratch files never meet those of a window
// (or another batch) running at the same time; it is removed, whole, when batch mode ends, and a
// folder left by a batch that was killed is removed by the next one.
#pragma once
#include "app/batch/batch_lifetime_lock.h"
#include <optional>
#include <string>

namespace batch {
class PrivateWorkArea {
  public:
    PrivateWorkArea();
    ~PrivateWorkArea();
    PrivateWorkArea(const PrivateWorkArea&) = delete;
    PrivateWorkArea& operator=(const PrivateWorkArea&) = delete;
    bool Ready() const { return !path_.empty(); }
    const std::string& Parent() const { return parent_; }

  private:
    std::string parent_;               // the user's save area
    std::string path_;                 // parent_ + "batch-XXXXXX", empty when it could not be made
    std::optional<LifetimeLock> lock_; // batch.lock in it, held for as long as this process lives
};
} // namespace batch
