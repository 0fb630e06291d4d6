#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL_syswm.h>
#include <csignal>
#include <ctime>
#include <poll.h>

namespace {
volatile std::sig_atomic_t quitSignalled = 0;
struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

void OnQuitSignal(int) {
    quitSignalled = 1;
}

// Readable within `timeout` (null: at once); a signal counts, since a quit may be waiting.
bool Readable(int connection, const timespec* timeout) {
    pollfd source{connection, POLLIN, 0};
    return ppoll(&source, 1, timeout, nullptr) != 0;
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

bool MessageSource::MayHaveMessages() const {
    if (display_ == nullptr || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) ||
        QLength(static_cast<Display*>(display_)) > 0)
        return true;
    const timespec now{0, 0};
    return Readable(connection_, &now);
}

bool MessageSource::CanWait() const {
    return display_ != nullptr;
}

bool MessageSource::Await(int64_t micros) const {
    const timespec timeout{time_t(micros / 1'000'000), long(micros % 1'000'000) * 1000L};
    return Readable(connection_, &timeout);
}

QuitSignals::QuitSignals() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
}

QuitSignals::~QuitSignals() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

bool QuitSignals::Received() const {
    return quitSignalled != 0;
}
