// Checks a printf-style function's arguments against its format. mingw-w64's own C99 printf (which the
// Windows build uses) has its own name for those rules; plain "printf" there means msvcrt's.
#pragma once
#include <cstdio>

#ifdef __MINGW_PRINTF_FORMAT
#define MORVANE_PRINTF_FORMAT(string, first) __attribute__((format(__MINGW_PRINTF_FORMAT, string, first)))
#else
#define MORVANE_PRINTF_FORMAT(string, first) __attribute__((format(printf, string, first)))
#endif
