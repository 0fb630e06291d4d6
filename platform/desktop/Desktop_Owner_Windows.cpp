#include "platform/desktop/Desktop_Owner_Windows.h"
#include <algorithm>

namespace {
BOOL CALLBACK TakeVisible(HWND window, LPARAM found) {
    if (!IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The owner whose next dialog is still to be centred; a hook has no argument of its own.
thread_local HWND centreOwner = nullptr;

void Centre(HWND window, HWND owner) {
    RECT around, rect;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(owner, &around) || !GetWindowRect(window, &rect) ||
        !GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    const RECT& work = monitor.rcWork;
    const LONG x = std::clamp((around.left + around.right - width) / 2, work.left,
                              std::max(work.left, work.right - width));
    const LONG y = std::clamp((around.top + around.bottom - height) / 2, work.top,
                              std::max(work.top, work.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK OnActivate(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && centreOwner != nullptr && window != centreOwner &&
        GetWindow(window, GW_OWNER) == centreOwner) {
        Centre(window, centreOwner);
        centreOwner = nullptr;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

// Dialogs open on the thread that made the window: its visible top-level window is the main one.
HWND Desktop_OwnerWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), TakeVisible, reinterpret_cast<LPARAM>(&found));
    return found;
}

Desktop_CentreOverOwner::Desktop_CentreOverOwner(HWND owner)
    : hook_(owner != nullptr ? SetWindowsHookExW(WH_CBT, OnActivate, nullptr, GetCurrentThreadId())
                             : nullptr) {
    centreOwner = hook_ != nullptr ? owner : nullptr;
}

Desktop_CentreOverOwner::~Desktop_CentreOverOwner() {
    centreOwner = nullptr;
    if (hook_ != nullptr)
        UnhookWindowsHookEx(hook_);
}
