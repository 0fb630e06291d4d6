#include "Code/Code_Error.h"
#include "Runner/Runner_Log.h"
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
TraceRecord* traceTop = nullptr;
bool errorPending = false;
bool reporting = false;

void WriteToStderr(const std::string& report) {
    std::fprintf(stderr, "%s\n", report.c_str());
}
void ExitProgram(int code) {
    std::exit(code);
}

ErrorSink errorSink = WriteToStderr;
ErrorExit errorExit = ExitProgram;

std::string FormatMessage(const char* format, va_list args) {
    char message[1024];
    std::vsnprintf(message, sizeof message, format, args);
    return message;
}
} // namespace

void RuntimeError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatMessage(format, args);
    va_end(args);
    throw ScriptError(message);
}

void RuntimeWarning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatMessage(format, args);
    va_end(args);
    Runner_Log("%s\n", message.c_str());
}

TraceScope::TraceScope(const char* name) : record_{traceTop, name, 0} {
    traceTop = &record_;
}

TraceScope::~TraceScope() {
    traceTop = record_.previous;
}

TraceRecord* TraceTop() {
    return traceTop;
}

std::string FormatErrorReport(const std::string& message, int actionNumber, const std::string& eventName,
                              const std::string& objectName) {
    char head[1400];
    std::snprintf(head, sizeof head, "ERROR in\naction number %d\nof %s\nfor object %s:\n\n\n%s",
                  actionNumber, eventName.c_str(), objectName.c_str(), message.c_str());
    std::string report = head;
    for (TraceRecord* record = traceTop; record != nullptr; record = record->previous) {
        char line[256];
        std::snprintf(line, sizeof line, "\ncalled from - %s (line %d)", record->name, record->line);
        report += line;
    }
    return report;
}

void ShowErrorReport(const std::string& message, int actionNumber, const std::string& eventName,
                     const std::string& objectName) {
    errorPending = true;
    if (reporting) {
        return;
    }
    reporting = true;
    std::string report = FormatErrorReport(message, actionNumber, eventName, objectName);
    Runner_Log("%s\n", report.c_str());
    errorSink(report);
    errorExit(1);
    reporting = false;
}

void ShowLoadError(const std::string& message) {
    errorSink(message);
}

bool ErrorPending() {
    return errorPending;
}
void ClearErrorPending() {
    errorPending = false;
}
void SetErrorSink(ErrorSink sink) {
    errorSink = sink ? sink : WriteToStderr;
}
void SetErrorExit(ErrorExit exitFunction) {
    errorExit = exitFunction ? exitFunction : ExitProgram;
}
