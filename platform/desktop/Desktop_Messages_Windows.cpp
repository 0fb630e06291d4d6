#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL_syswm.h>
#include <atomic>
#include <windows.h>

namespace {
std::atomic<bool> quitSignalled = false;

// The watched knock is an event's handle here.
HANDLE Event(intptr_t knock) {
    return reinterpret_cast<HANDLE>(knock);
}

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

void MessageSource::Watch(intptr_t knock) {
    watched_ = knock;
}

bool MessageSource::MayHaveMessages() {
    watchedReady_ = watched_ != -1 && WaitForSingleObject(Event(watched_), 0) == WAIT_OBJECT_0;
    return display_ == nullptr || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) ||
           GetQueueStatus(QS_ALLINPUT) != 0;
}

bool MessageSource::CanWait() const {
    return display_ != nullptr;
}

bool MessageSource::Await(int64_t micros) {
    const DWORD millis = static_cast<DWORD>((micros + 999) / 1000);
    const HANDLE knock = Event(watched_);
    const DWORD count = watched_ != -1 ? 1 : 0;
    const DWORD woken = MsgWaitForMultipleObjects(count, &knock, FALSE, millis, QS_ALLINPUT);
    return woken == WAIT_OBJECT_0 || woken == WAIT_OBJECT_0 + count;
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

// A console's Ctrl-C or its closing ends the window as SIGINT does.
int QuitSignals::Signal() const {
    return quitSignalled ? 2 : 0;
}
