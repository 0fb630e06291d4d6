// The system's steady clock and timer sleep, for the backends that run on real time.
#pragma once
#include <cstdint>

int64_t Platform_SteadyMicros();
// Sleeps the whole span, resumed after a signal.
void Platform_SleepMicros(int64_t micros);
