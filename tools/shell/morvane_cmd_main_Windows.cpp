#include "morvane_cmd.h"
#include "utf16.h"
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// The arguments come from the wide command line, so they are UTF-8 whatever the code page; the
// output is written byte for byte. Started by tuner.dll or by `start`, this process inherits only its
// three streams (a handle list), so, unlike on POSIX, there is nothing to close.
int main() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide != nullptr && i < count; ++i) {
        arguments.push_back(win::narrow(wide[i]));
    }
    LocalFree(wide);
    _setmode(1, _O_BINARY);
    _setmode(2, _O_BINARY);
    return shell::InterpreterMain(arguments);
}
