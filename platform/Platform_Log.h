// Where the backends' log lines go. The runner points it at its own log when it starts; until then
// (and in programs without a runner) lines go to stderr.
#pragma once
#include "platform/Printf_Format.h"

using PlatformLogSink = void (*)(const char* line);

// nullptr: back to stderr.
void Platform_SetLogSink(PlatformLogSink sink);
void Platform_Log(const char* format, ...) MORVANE_PRINTF_FORMAT(1, 2);
