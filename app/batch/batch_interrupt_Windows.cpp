#include "app/batch/batch_interrupt.h"
#include <csignal>
#include <windows.h>

namespace batch {
namespace {
volatile LONG caught = 0;

// Runs on a thread of its own. Ctrl-C and Ctrl-Break count as SIGINT. Closing the console, logging off
// and shutting down count as SIGTERM, and end the process as soon as this handler returns: so it never
// returns, and the main thread puts back the action under way and ends the process itself (the system
// gives it a few seconds).
BOOL WINAPI OnControl(DWORD event) {
    const bool ending =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    InterlockedCompareExchange(&caught, ending ? SIGTERM : SIGINT, 0);
    if (ending) {
        Sleep(INFINITE);
    }
    return TRUE;
}
} // namespace

InterruptSignals::InterruptSignals() {
    SetConsoleCtrlHandler(OnControl, TRUE);
}

InterruptSignals::~InterruptSignals() {
    SetConsoleCtrlHandler(OnControl, FALSE);
}

int Interrupted() {
    return static_cast<int>(caught);
}
} // namespace batch
