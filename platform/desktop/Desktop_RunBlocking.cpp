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
// After this the window says what keeps it waiting, refreshed at the second interval.
constexpr auto BusyNoteDelay = std::chrono::milliseconds(500);
constexpr auto BusyNoteInterval = std::chrono::milliseconds(200);
} // namespace

// The library call runs on a helper thread while this one services the window; nothing of the
// runtime runs meanwhile, so the call sees the program as the caller left it.
void DesktopPlatform::RunBlocking(const std::function<void()>& work) {
    ModalWait wait(*this);
    // A signal that came before the call (it is the program's end that runs it: the lib directory's
    // removal) does not stop it.
    const int signalBefore = quitSignals_.Signal();
    BusyWindowService::Offered offered(busy_, window_.get(), scale_);
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
    auto nextNote = start + BusyNoteDelay;
    for (;;) {
        PumpMessages();
        busy_.AnswerClose(signalBefore == 0 ? quitSignals_.Signal() : 0);
        const auto now = std::chrono::steady_clock::now();
        if (!busyShown && now - start >= BusyCursorDelay) {
            cursors_.Show(BusyCursor);
            busyShown = true;
        }
        if (now >= nextNote && callbacks_.waiting) {
            callbacks_.waiting();
            nextNote = now + BusyNoteInterval;
        }
        std::unique_lock lock(mutex);
        if (ended.wait_for(lock, ServiceInterval, [&] { return done; }))
            break;
    }
    helper.join();
    if (busyShown)
        cursors_.Show(cursor_);
    if (failure)
        std::rethrow_exception(failure);
}
