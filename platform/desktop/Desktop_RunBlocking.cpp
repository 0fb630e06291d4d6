// A blocking library call on the desktop: the window keeps being serviced while it runs.
#include "platform/desktop/Desktop_ModalWait.h"
#include "platform/desktop/Desktop_Platform.h"
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace {
// A call that ends sooner shows no busy cursor, so quick command lines do not flicker it.
constexpr auto BusyCursorDelay = std::chrono::milliseconds(150);
constexpr int BusyCursor = -11;
} // namespace

// The library call runs on a helper thread while this one services the window; nothing of the
// runtime runs meanwhile, so the call sees the program as the caller left it.
void DesktopPlatform::RunBlocking(const std::function<void()>& work) {
    ModalWaitScope wait(input_);
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::exception_ptr failure;
    std::thread helper([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(mutex);
        done = true;
        ended.notify_one();
    });
    const auto start = std::chrono::steady_clock::now();
    bool busyShown = false;
    for (;;) {
        PumpMessages();
        if (!busyShown && std::chrono::steady_clock::now() - start >= BusyCursorDelay) {
            cursors_.Show(BusyCursor);
            busyShown = true;
        }
        std::unique_lock lock(mutex);
        if (ended.wait_for(lock, ServiceInterval, [&] { return done; }))
            break;
    }
    helper.join();
    PumpMessages();
    if (busyShown)
        cursors_.Show(cursor_);
    if (failure)
        std::rethrow_exception(failure);
}
