// The least a frame loop can cost here: a process that does nothing but wake 60 times a second, as the
// tool's loop does, waiting in ppoll until each frame's deadline. Prints the CPU time of its waits
// over the given seconds in nanoseconds, for idle_frame_cpu.sh to set beside the tool's own figure.
#define _GNU_SOURCE
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long long Nanoseconds(clockid_t clock) {
    struct timespec now;
    clock_gettime(clock, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

int main(int argc, char** argv) {
    const long long frame = 1000000000LL / 60;
    const long long end = Nanoseconds(CLOCK_MONOTONIC) + (argc > 1 ? atoll(argv[1]) : 10) * 1000000000LL;
    const long long before = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
    for (long long deadline = Nanoseconds(CLOCK_MONOTONIC) + frame; deadline <= end; deadline += frame) {
        const long long wait = deadline - Nanoseconds(CLOCK_MONOTONIC);
        if (wait > 0) {
            const struct timespec timeout = {wait / 1000000000LL, wait % 1000000000LL};
            ppoll(NULL, 0, &timeout, NULL);
        }
    }
    printf("%lld\n", Nanoseconds(CLOCK_PROCESS_CPUTIME_ID) - before);
    return 0;
}
