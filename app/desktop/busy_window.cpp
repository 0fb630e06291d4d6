#include "app/desktop/busy_window.h"
#include "app/Tool_Code.h"
#include "app/actions/interrupt_signals.h"
#include "platform/Platform.h"
#include <csignal>

namespace tool {
namespace {
// tuner.dll's StopRunning, bound on the window's thread: the stop comes while the line runs on another.
// Without the library (reported once already, for RunSilent) no line runs to be stopped.
RValue stop_running = RValue(-1.0);

void stop_for(int signal) {
    Interrupt(signal);
    external_call(stop_running);
    game_end();
}
} // namespace

void offer_busy_window(int bandHeight, int closeButtonWidth) {
    if (global_var(dos) != RValue(-1.0)) {
        stop_running = external_define("tuner.dll", "StopRunning", dll_stdcall, ty_real, 0);
    }
    const auto closeAsked = [] {
        if (truthy(show_question("Stop now and close? What this action has changed so far is put back."))) {
            stop_for(SIGINT);
        }
    };
    CurrentPlatform().SetBusyWindow({bandHeight, closeButtonWidth, closeAsked, stop_for});
}

void while_serviced(const std::function<void()>& call) {
    CurrentPlatform().RunBlocking(call);
}
} // namespace tool
