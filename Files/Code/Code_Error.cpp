#include "Code/Code_Error.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Quiet.h"
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {
TraceRecord* traceTop = nullptr;
const char* contextEvent = nullptr;
const char* contextObject = nullptr;
bool errorPending = false;
bool reporting = false;

// The log has already put the text on stderr.
void LogOnly(const std::string&) {}
void ExitProgram(int code) {
    std::exit(code);
}

ErrorSink errorSink = LogOnly;
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
    throw ScriptError(message, FormatErrorReport(message));
}

void ReportError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = FormatMessage(format, args);
    va_end(args);
    ShowError(FormatErrorReport(message));
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

ReportContextScope::ReportContextScope(const char* eventName, const char* objectName)
    : savedEvent_(contextEvent), savedObject_(contextObject) {
    contextEvent = eventName;
    contextObject = objectName;
}

ReportContextScope::~ReportContextScope() {
    contextEvent = savedEvent_;
    contextObject = savedObject_;
}

std::string FormatErrorReport(const std::string& message) {
    std::string report = message;
    if (contextEvent != nullptr) {
        char head[1400];
        // The tool has one action per event.
        std::snprintf(head, sizeof head, "ERROR in\naction number %d\nof %s\nfor object %s:\n\n\n%s", 1,
                      contextEvent, contextObject, message.c_str());
        report = head;
    }
    for (TraceRecord* record = traceTop; record != nullptr; record = record->previous) {
        char line[256];
        std::snprintf(line, sizeof line, "\ncalled from - %s (line %d)", record->name, record->line);
        report += line;
    }
    return report;
}

void ShowErrorReport(const ScriptError& error) {
    errorPending = true;
    if (reporting) {
        return;
    }
    reporting = true;
    ShowError(error.report);
    errorExit(1);
    reporting = false;
}

void ShowError(const std::string& text) {
    Runner_MarkFrame("an error report");
    Runner_Log(text.ends_with('\n') ? "%s" : "%s\n", text.c_str());
    errorSink(text);
}

bool ErrorPending() {
    return errorPending;
}
void ClearErrorPending() {
    errorPending = false;
}
void SetErrorSink(ErrorSink sink) {
    errorSink = sink ? sink : LogOnly;
}
void SetErrorExit(ErrorExit exitFunction) {
    errorExit = exitFunction ? exitFunction : ExitProgram;
}
