#include "app/actions/interrupt_signals.h"
#include <csignal>

namespace tool {
namespace {
volatile std::sig_atomic_t caught = 0;
struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};
struct sigaction previousHangUp {};

void OnSignal(int signal) {
    caught = signal;
}
} // namespace

InterruptSignals::InterruptSignals() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
    // A closed terminal or a dropped connection ends the batch as SIGTERM does.
    sigaction(SIGHUP, &action, &previousHangUp);
}

InterruptSignals::~InterruptSignals() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    sigaction(SIGHUP, &previousHangUp, nullptr);
}

int Interrupted() {
    return caught;
}

void Interrupt(int signal) {
    caught = signal;
}
} // namespace tool
