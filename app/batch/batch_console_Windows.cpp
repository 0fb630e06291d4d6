#include "app/batch/batch_console.h"
#include <cstdio>
#include <windows.h>

namespace batch {
namespace {
// The console's own output code page, given back at the end; 0 without a console.
UINT previousCodePage = 0;

bool Present(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}
} // namespace

// A program of the window subsystem gets standard handles only when its starter redirected them; else
// its lines go to the console it was started from, if any. The console does not wait for such a program
// (its prompt may come first): morvane-radio-tuner.com, the console twin, is the one to type.
BatchConsole::BatchConsole() {
    const bool out = Present(STD_OUTPUT_HANDLE);
    const bool err = Present(STD_ERROR_HANDLE);
    if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out) {
            std::freopen("CONOUT$", "w", stdout);
        }
        if (!err) {
            std::freopen("CONOUT$", "w", stderr);
        }
    }
    // Names in any script: the console shows the UTF-8 lines as UTF-8 while the batch runs.
    previousCodePage = GetConsoleOutputCP();
    if (previousCodePage != 0) {
        SetConsoleOutputCP(CP_UTF8);
    }
}

BatchConsole::~BatchConsole() {
    if (previousCodePage != 0) {
        SetConsoleOutputCP(previousCodePage);
    }
}
} // namespace batch
