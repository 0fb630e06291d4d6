#include "platform/Platform_Clock.h"
#include <cerrno>
#include <chrono>
#include <ctime>

int64_t Platform_SteadyMicros() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

void Platform_SleepMicros(int64_t micros) {
    if (micros <= 0)
        return;
    timespec wanted{time_t(micros / 1'000'000), long(micros % 1'000'000) * 1000L};
    timespec left{};
    while (nanosleep(&wanted, &left) != 0 && errno == EINTR)
        wanted = left;
}
