#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL_syswm.h>
#include <csignal>
#include <ctime>
#include <poll.h>

namespace {
volatile std::sig_atomic_t quitSignalled = 0;
struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};
struct sigaction previousHangUp {};

void OnQuitSignal(int signal) {
    quitSignalled = signal;
}

} // namespace

void MessageSource::Attach(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    display_ = info.info.x11.display;
    connection_ = ConnectionNumber(info.info.x11.display);
}

void MessageSource::Watch(intptr_t knock) {
    watched_ = knock;
}

bool MessageSource::Poll(const timespec& timeout) {
    // A negative descriptor is skipped by poll.
    pollfd sources[2] = {{connection_, POLLIN, 0}, {int(watched_), POLLIN, 0}};
    const int ready = ppoll(sources, 2, &timeout, nullptr);
    watchedReady_ = (sources[1].revents & POLLIN) != 0;
    return ready != 0;
}

bool MessageSource::MayHaveMessages() {
    const bool queued = display_ == nullptr || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) ||
                        QLength(static_cast<Display*>(display_)) > 0;
    if (queued && watched_ < 0)
        return true;
    return Poll(timespec{0, 0}) || queued;
}

bool MessageSource::CanWait() const {
    return display_ != nullptr;
}

bool MessageSource::Await(int64_t micros) {
    return Poll(timespec{time_t(micros / 1'000'000), long(micros % 1'000'000) * 1000L});
}

QuitSignals::QuitSignals() {
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
