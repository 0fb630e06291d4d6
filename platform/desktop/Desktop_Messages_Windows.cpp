#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL_syswm.h>
#include <atomic>
#include <windows.h>

namespace {
std::atomic<bool> quitSignalled = false;

// An event that ends a wait with no timeout: set by Wake from any thread and by the console's handler.
HANDLE WakeEvent() {
    static const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return event;
}

// The watched knock is an event's handle here.
HANDLE Event(intptr_t knock) {
    return reinterpret_cast<HANDLE>(knock);
}

// Ctrl+C, Ctrl+Break and the console's close button, when there is a console.
BOOL WINAPI OnConsoleQuit(DWORD) {
    quitSignalled = true;
    SetEvent(WakeEvent());
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

// Input already in the queue counts too (MWMO_INPUTAVAILABLE): SDL's pump may have looked at it without
// taking it, and a plain wait only ends for what arrives after that.
void MessageSource::AwaitAnything() {
    if (quitSignalled || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
        return;
    HANDLE handles[2] = {WakeEvent(), Event(watched_)};
    const DWORD count = watched_ != -1 ? 2 : 1;
    // The knock is a manual-reset event: the pump looks at it again afterwards.
    MsgWaitForMultipleObjectsEx(count, handles, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void MessageSource::Wake() {
    SetEvent(WakeEvent());
}

void MessageSource::ClearWake() {
    WaitForSingleObject(WakeEvent(), 0); // an auto-reset event: taking it resets it
}

QuitSignals::QuitSignals() {
    WakeEvent();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SetConsoleCtrlHandler(OnConsoleQuit, TRUE);
}

QuitSignals::~QuitSignals() {
    SetConsoleCtrlHandler(OnConsoleQuit, FALSE);
}

// A Windows session's end comes as messages.
bool DisplayBroke() {
    return false;
}

bool QuitSignals::Received() const {
    return quitSignalled;
}

// A console's Ctrl-C or its closing ends the window as SIGINT does.
int QuitSignals::Signal() const {
    return quitSignalled ? 2 : 0;
}
