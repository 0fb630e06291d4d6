// Preloaded into the tool by start_and_memory.sh: appends the wall-clock time (ns) at which the window
// was shown (SDL_CreateWindow returns once X has mapped it) and at which the first frame was presented
// to the file named by START_MARKS_FILE, so start-up can be timed from outside without polling; with
// the first frame also the CPU time the process had used by then ("cpu", all threads), which a busy
// machine does not inflate as it does the wall-clock times.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static void Mark(const char* what, clockid_t clock) {
    const char* file = getenv("START_MARKS_FILE");
    FILE* out = file ? fopen(file, "a") : NULL;
    if (out == NULL)
        return;
    struct timespec now;
    clock_gettime(clock, &now);
    fprintf(out, "%s %lld\n", what, (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    fclose(out);
}

void* SDL_CreateWindow(const char* title, int x, int y, int w, int h, unsigned flags) {
    void* (*create)(const char*, int, int, int, int, unsigned) =
        (void* (*)(const char*, int, int, int, int, unsigned))dlsym(RTLD_NEXT, "SDL_CreateWindow");
    void* window = create(title, x, y, w, h, flags);
    Mark("mapped", CLOCK_REALTIME);
    return window;
}

void SDL_RenderPresent(void* renderer) {
    static void (*present)(void*);
    static int presented;
    if (present == NULL)
        present = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    present(renderer);
    if (!presented++) {
        Mark("presented", CLOCK_REALTIME);
        Mark("cpu", CLOCK_PROCESS_CPUTIME_ID);
    }
}
