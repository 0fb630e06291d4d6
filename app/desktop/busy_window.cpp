#include "app/desktop/busy_window.h"
#include "app/Tool_Code.h"
#include "app/actions/interrupt_signals.h"
#include "platform/Platform.h"
#include <csignal>

namespace tool {
void offer_busy_window(int bandHeight, int closeButtonWidth) {
    // Bound now, on the window's thread: the close is answered while the line runs on another. Without
    // the library (reported once already, for RunSilent) no line runs to be stopped.
    static const RValue stop = global_var(dos) == RValue(-1.0)
                                   ? RValue(-1.0)
                                   : external_define("tuner.dll", "StopRunning", dll_stdcall, ty_real, 0);
    CurrentPlatform().SetBusyWindow(
        {bandHeight, closeButtonWidth, [] {
             if (!truthy(show_question("Stop now and close? What this action has changed so "
                                       "far is put back.")))
                 return;
             Interrupt(SIGINT);
             external_call(stop);
             game_end();
         }});
}
} // namespace tool
