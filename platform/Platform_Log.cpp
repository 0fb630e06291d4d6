#include "platform/Platform_Log.h"
#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
// Dialogs may log from a helper thread while the main thread sets the sink.
std::atomic<PlatformLogSink> sink{nullptr};
} // namespace

void Platform_SetLogSink(PlatformLogSink newSink) {
    sink = newSink;
}

void Platform_Log(const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (PlatformLogSink current = sink.load())
        current(line);
    else
        std::fputs(line, stderr);
}
