#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL_syswm.h>
#include <atomic>
#include <windows.h>

namespace {
std::atomic<bool> quitSignalled = false;

// Ctrl+C, Ctrl+Break and the console's close button, when there is a console.
BOOL WINAPI OnConsoleQuit(DWORD) {
    quitSignalled = true;
    return TRUE;
}
} // namespace

// The window's thread queue can be asked whether anything arrived and waited on.
void MessageSource::Attach(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_WINDOWS)
        display_ = info.info.win.window;
}

// Later starts hand over through a socket on POSIX systems only: nothing to watch here.
void MessageSource::Watch(int) {}

bool MessageSource::MayHaveMessages() {
    return display_ == nullptr || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) ||
           GetQueueStatus(QS_ALLINPUT) != 0;
}

bool MessageSource::CanWait() const {
    return display_ != nullptr;
}

bool MessageSource::Await(int64_t micros) {
    const DWORD millis = static_cast<DWORD>((micros + 999) / 1000);
    return MsgWaitForMultipleObjects(0, nullptr, FALSE, millis, QS_ALLINPUT) == WAIT_OBJECT_0;
}

QuitSignals::QuitSignals() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SetConsoleCtrlHandler(OnConsoleQuit, TRUE);
}

QuitSignals::~QuitSignals() {
    SetConsoleCtrlHandler(OnConsoleQuit, FALSE);
}

bool QuitSignals::Received() const {
    return quitSignalled;
}
