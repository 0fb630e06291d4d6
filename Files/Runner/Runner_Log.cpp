#include "Runner/Runner_Log.h"
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
std::unique_ptr<std::FILE, FileCloser> logFile;
bool toStderr = true;
Runner_LogView view = nullptr;
// Lines logged before the save area (and so the log file) is known; the file gets them first.
std::string startupLines;
bool everOpened = false;
constexpr size_t StartupLinesLimit = 64 * 1024;
// The ogg thread logs too.
std::mutex logMutex;
} // namespace

void Runner_Log(const char* format, ...) {
    char line[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::lock_guard lock(logMutex);
    if (toStderr && view == nullptr) {
        std::fputs(line, stderr);
    } else if (toStderr) {
        std::fputs(view(line).c_str(), stderr);
    }
    if (logFile) {
        std::fputs(line, logFile.get());
        std::fflush(logFile.get());
    } else if (!everOpened && startupLines.size() < StartupLinesLimit) {
        startupLines += line;
    }
}

void Runner_OpenLogFile(const std::string& path) {
    std::lock_guard lock(logMutex);
    logFile.reset(std::fopen(path.c_str(), "a"));
    if (!logFile || everOpened) {
        return;
    }
    std::fputs(startupLines.c_str(), logFile.get());
    std::fflush(logFile.get());
    everOpened = true;
    startupLines.clear();
}

void Runner_CloseLogFile() {
    std::lock_guard lock(logMutex);
    logFile.reset();
}

void Runner_SetLogToStderr(bool enabled) {
    toStderr = enabled;
}

void Runner_SetLogView(Runner_LogView newView) {
    view = newView;
}
