// The least a frame loop can cost here: a process that does nothing but wake 60 times a second, as the
// tool's loop does, waiting in ppoll until each frame's deadline; with a second argument it also reads
// that many KB after each wake-up, every cache line of them in a shuffled order, as a frame's first touch
// of its code and data does (scattered, so the processor cannot fetch ahead). Prints the CPU time over the given seconds in nanoseconds, for idle_frame_cpu.sh to set
// beside the tool's own figure. Usage: wakeup_floor SECONDS [KB]
#define _GNU_SOURCE
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static long long Nanoseconds(clockid_t clock) {
    struct timespec now;
    clock_gettime(clock, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

int main(int argc, char** argv) {
    const long long frame = 1000000000LL / 60;
    const long long end = Nanoseconds(CLOCK_MONOTONIC) + (argc > 1 ? atoll(argv[1]) : 10) * 1000000000LL;
    const size_t bytes = (argc > 2 ? (size_t)atoll(argv[2]) : 0) * 1024;
    volatile unsigned char* memory = malloc(bytes + 1);
    if (memory == NULL)
        return 1;
    memset((void*)memory, 1, bytes);
    const size_t lines = bytes / 64;
    size_t* order = malloc((lines + 1) * sizeof *order);
    if (order == NULL)
        return 1;
    for (size_t i = 0; i < lines; ++i)
        order[i] = i * 64;
    srand(1);
    for (size_t i = lines; i > 1; --i) {
        const size_t j = (size_t)rand() % i;
        const size_t kept = order[i - 1];
        order[i - 1] = order[j];
        order[j] = kept;
    }
    unsigned sum = 0;
    const long long before = Nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
    for (long long deadline = Nanoseconds(CLOCK_MONOTONIC) + frame; deadline <= end; deadline += frame) {
        const long long wait = deadline - Nanoseconds(CLOCK_MONOTONIC);
        if (wait > 0) {
            const struct timespec timeout = {wait / 1000000000LL, wait % 1000000000LL};
            ppoll(NULL, 0, &timeout, NULL);
        }
        for (size_t i = 0; i < lines; ++i)
            sum += memory[order[i]];
    }
    printf("%lld\n", Nanoseconds(CLOCK_PROCESS_CPUTIME_ID) - before + (sum & 0));
    free(order);
    free((void*)memory);
    return 0;
}
