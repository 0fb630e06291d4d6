#include "app/desktop/window_libraries/window_libraries.h"
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <vector>

// The tables of window_calls.cpp, generated from what the executable calls.
extern "C" {
extern const char* const morvane_window_sonames[];
extern const std::size_t morvane_window_library_count;
extern const char* const morvane_window_names[];
extern const unsigned char morvane_window_library_of[];
extern const std::size_t morvane_window_call_count;
extern void* morvane_window_slots[];

// Where a call lands before the libraries are loaded: a fault of ours, named rather than a crash.
[[noreturn]] void morvane_window_unbound(const char* name) {
    std::fprintf(stderr, "morvane-radio-tuner: %s was called before the window's libraries were loaded\n",
                 name);
    std::abort();
}
}

namespace {
// Like linked libraries, these stay for the process's life: their handles are never closed, and a
// preloaded library's definition comes first (RTLD_NEXT searches the global scope after the executable,
// so never finds the executable's own entry of the same name).
std::string Load() {
    std::vector<void*> handles;
    for (std::size_t i = 0; i < morvane_window_library_count; ++i) {
        void* handle = ::dlopen(morvane_window_sonames[i], RTLD_NOW | RTLD_GLOBAL);
        if (!handle) {
            return std::string("the window's libraries cannot be loaded: ") + ::dlerror();
        }
        handles.push_back(handle);
    }
    for (std::size_t i = 0; i < morvane_window_call_count; ++i) {
        void* function = ::dlsym(RTLD_NEXT, morvane_window_names[i]);
        if (!function) {
            function = ::dlsym(handles[morvane_window_library_of[i]], morvane_window_names[i]);
        }
        if (!function) {
            return std::string(morvane_window_sonames[morvane_window_library_of[i]]) + " has no " +
                   morvane_window_names[i];
        }
        morvane_window_slots[i] = function;
    }
    return {};
}
} // namespace

const std::string& LoadWindowLibraries() {
    static const std::string failure = Load();
    return failure;
}
