#include "platform/desktop/Desktop_ModalWait.h"
#include <windows.h>

namespace {
// The one pump of the dialog that is open; Windows' modal loops dispatch the timer to it.
std::function<bool()>* activePump = nullptr;

void CALLBACK PumpOnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activePump != nullptr)
        (*activePump)();
}
} // namespace

// A thread timer: the dialog's own message loop calls it, so the main window keeps drawing.
WindowServiceSource::WindowServiceSource(std::function<bool()> pump) : pump_(std::move(pump)) {
    activePump = &pump_;
    id_ =
        static_cast<unsigned>(SetTimer(nullptr, 0, static_cast<UINT>(ServiceInterval.count()), PumpOnTimer));
}

WindowServiceSource::~WindowServiceSource() {
    KillTimer(nullptr, id_);
    activePump = nullptr;
}

// The window program has no console: Windows ends it on a logoff through its own messages.
void Desktop_EndDialogs() {}
