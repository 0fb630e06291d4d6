#include "app/desktop/window_libraries/window_libraries.h"

// Where the executable is linked with the window's libraries (a static build, or a processor the
// generated entries do not cover), the loader has loaded them before the program starts.
const std::string& LoadWindowLibraries() {
    static const std::string none;
    return none;
}
