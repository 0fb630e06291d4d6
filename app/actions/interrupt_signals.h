// SIGINT, SIGTERM and SIGHUP in batch mode: caught from the start to the end of the batch; the checked
// actions ask Interrupted() between their steps, so that the action under way is undone like a failed one
// (its container, backup and export put back, the working folder removed) and no later action runs. A
// terminal's Ctrl-C reaches the helper programs too and ends the running line at once; a SIGTERM sent to this
// process alone lets that line finish first. On Windows (interrupt_signals_Windows.cpp) the console's Ctrl-C
// and Ctrl-Break are SIGINT and its closing SIGTERM, and the programs the batch started (which run without a
// console) are ended at once.
#pragma once

namespace tool {
class InterruptSignals {
  public:
    InterruptSignals();
    ~InterruptSignals();
    InterruptSignals(const InterruptSignals&) = delete;
    InterruptSignals& operator=(const InterruptSignals&) = delete;
};

// The signal caught, or 0.
int Interrupted();
// As if `signal` had been caught: how a window stops the action under way.
void Interrupt(int signal);
} // namespace tool
