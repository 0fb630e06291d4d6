#include "platform/Platform_Log.h"
#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL_syswm.h>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t quitSignalled = 0;
bool displayBroke = false;
struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};
struct sigaction previousHangUp {};

// A pipe that ends a wait with no timeout: written by Wake from any thread and by the quit signals'
// handler (write is safe there), drained by the wait. One for the process, as the signals are.
int wakeEnds[2] = {-1, -1};

void MakeWakePipe() {
    static const bool made = [] {
        if (::pipe(wakeEnds) != 0)
            return false;
        for (int end : wakeEnds) {
            ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
            ::fcntl(end, F_SETFD, FD_CLOEXEC);
        }
        return true;
    }();
    (void)made;
}

void WakeWaiter() {
    if (wakeEnds[1] >= 0) {
        const char byte = 1;
        // A full pipe already wakes the waiter.
        [[maybe_unused]] const ssize_t written = ::write(wakeEnds[1], &byte, 1);
    }
}

void DrainWakePipe() {
    char bytes[64];
    while (wakeEnds[0] >= 0 && ::read(wakeEnds[0], bytes, sizeof bytes) > 0) {
    }
}

void OnQuitSignal(int signal) {
    quitSignalled = signal;
    const int saved = errno;
    WakeWaiter();
    errno = saved;
}

// Returning from both handlers leaves the connection marked broken, so that later calls on it return
// at once instead of ending the program.
int NoteBrokenDisplay(Display*) {
    Platform_Log("The connection to the display broke: ending as on a hang-up\n");
    return 0;
}

void OnBrokenDisplay(Display*, void*) {
    displayBroke = true;
    OnQuitSignal(SIGHUP);
}
} // namespace

void EndAsHangUpWhenDisplayBreaks(void* display) {
    XSetIOErrorHandler(NoteBrokenDisplay);
    XSetIOErrorExitHandler(static_cast<Display*>(display), OnBrokenDisplay, nullptr);
}

bool DisplayBroke() {
    return displayBroke;
}

void MessageSource::Attach(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    display_ = info.info.x11.display;
    EndAsHangUpWhenDisplayBreaks(display_);
    connection_ = ConnectionNumber(info.info.x11.display);
}

void MessageSource::Watch(intptr_t knock) {
    watched_ = knock;
}

bool MessageSource::Poll(const timespec* timeout, bool withWake) {
    // A negative descriptor is skipped by poll.
    pollfd sources[3] = {{connection_, POLLIN, 0}, {int(watched_), POLLIN, 0}, {-1, POLLIN, 0}};
    if (withWake)
        sources[2].fd = wakeEnds[0];
    const int ready = ppoll(sources, 3, timeout, nullptr);
    watchedReady_ = (sources[1].revents & POLLIN) != 0;
    if (sources[2].revents & POLLIN)
        DrainWakePipe();
    return ready != 0;
}

bool MessageSource::Queued() const {
    return display_ == nullptr || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) ||
           QLength(static_cast<Display*>(display_)) > 0;
}

bool MessageSource::MayHaveMessages() {
    const bool queued = Queued();
    if (queued && watched_ < 0)
        return true;
    const timespec now{0, 0};
    return Poll(&now, false) || queued;
}

void MessageSource::AwaitAnything() {
    MakeWakePipe();
    // Requests still in Xlib's buffer (a cursor, a window move) go out before the sleep.
    if (display_ != nullptr)
        XFlush(static_cast<Display*>(display_));
    if (quitSignalled != 0 || Queued())
        return;
    Poll(nullptr, true);
}

void MessageSource::Wake() {
    MakeWakePipe();
    WakeWaiter();
}

void MessageSource::ClearWake() {
    DrainWakePipe();
}

bool MessageSource::CanWait() const {
    return display_ != nullptr;
}

bool MessageSource::Await(int64_t micros) {
    const timespec timeout{time_t(micros / 1'000'000), long(micros % 1'000'000) * 1000L};
    return Poll(&timeout, false);
}

QuitSignals::QuitSignals() {
    MakeWakePipe();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
    sigaction(SIGHUP, &action, &previousHangUp);
}

QuitSignals::~QuitSignals() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    sigaction(SIGHUP, &previousHangUp, nullptr);
}

bool QuitSignals::Received() const {
    return quitSignalled != 0;
}

int QuitSignals::Signal() const {
    return quitSignalled;
}
