#include "platform/desktop/Desktop_Owner_Windows.h"

namespace {
BOOL CALLBACK TakeVisible(HWND window, LPARAM found) {
    if (!IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
} // namespace

// Dialogs open on the thread that made the window: its visible top-level window is the main one.
HWND Desktop_OwnerWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisible, reinterpret_cast<LPARAM>(&found));
    return found;
}
