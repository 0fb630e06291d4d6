#include "app/single_window.h"
#include "Support/Win32/Support_FileM.h"
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace single_window {
namespace {
// Open (close-on-exec, so no helper program inherits the lock) until the process ends.
struct HeldLock {
    int fd = -1;
    ~HeldLock() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};
HeldLock windowLock;
} // namespace

bool Claim() {
    if (windowLock.fd < 0) {
        // The save area the runtime will use: $APPDATA (or the platform's default) + the game name.
        std::string folder = FileM_DefaultAppData() + "/Morvane_Radio_Tuner";
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        windowLock.fd = ::open((folder + "/window.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    // Without a lock file there is nothing to go by: let the window run.
    return windowLock.fd < 0 || ::flock(windowLock.fd, LOCK_EX | LOCK_NB) == 0;
}

} // namespace single_window
