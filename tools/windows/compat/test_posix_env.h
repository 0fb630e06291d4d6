// The tests set and clear environment variables as on POSIX; on Windows both go through _putenv_s,
// which keeps the C library's copy and the process's own in step. Included in the tests' Windows build.
#pragma once
#include <cstdlib>

inline int setenv(const char* name, const char* value, int replace) {
    if (!replace && std::getenv(name) != nullptr)
        return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) {
    return _putenv_s(name, "");
}
