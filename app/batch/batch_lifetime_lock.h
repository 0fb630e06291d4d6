// A lock file held for as long as its process lives, however it ends: the system lets it go with the
// process. The system's side is batch_lifetime_lock_Posix.cpp (flock) or _Windows.cpp (a file no one
// else may open).
#pragma once
#include <cstdint>
#include <string>

namespace batch {
class LifetimeLock {
  public:
    // Makes the file when missing and takes it; Held() says whether that worked.
    explicit LifetimeLock(const std::string& path);
    ~LifetimeLock() { Release(); }
    LifetimeLock(const LifetimeLock&) = delete;
    LifetimeLock& operator=(const LifetimeLock&) = delete;
    bool Held() const { return handle_ != -1; }
    void Release();
    // The file exists and no living process holds it.
    static bool Abandoned(const std::string& path);

  private:
    intptr_t handle_ = -1;
};
} // namespace batch
