// Where the backends' log lines go. The runner points it at its own log when it starts; until then
// (and in programs without a runner) lines go to stderr.
#pragma once

using PlatformLogSink = void (*)(const char* line);

// nullptr: back to stderr.
void Platform_SetLogSink(PlatformLogSink sink);
void Platform_Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
