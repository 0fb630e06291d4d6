#include "platform/desktop/Desktop_ModalWait.h"
#include <SDL2/SDL.h>
#include <windows.h>

namespace {
// The one pump of the dialog that is open; Windows' modal loops dispatch the timer to it.
std::function<bool()>* activePump = nullptr;

void CALLBACK PumpOnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activePump != nullptr)
        (*activePump)();
}
} // namespace

// A thread timer: the dialog's own message loop calls it, so the main window keeps drawing. SDL's own
// message loop is off meanwhile: it took whatever was queued, the dialog's keys included, past the
// dialog's loop (a Return that closed nothing). The dialog's loop hands the window's messages to SDL.
WindowServiceSource::WindowServiceSource(std::function<bool()> pump) : pump_(std::move(pump)) {
    activePump = &pump_;
    SDL_SetHint(SDL_HINT_WINDOWS_ENABLE_MESSAGELOOP, "0");
    id_ =
        static_cast<unsigned>(SetTimer(nullptr, 0, static_cast<UINT>(ServiceInterval.count()), PumpOnTimer));
}

WindowServiceSource::~WindowServiceSource() {
    KillTimer(nullptr, id_);
    SDL_SetHint(SDL_HINT_WINDOWS_ENABLE_MESSAGELOOP, "1");
    activePump = nullptr;
}

// The window program has no console: Windows ends it on a logoff through its own messages.
void Desktop_EndDialogs() {}
