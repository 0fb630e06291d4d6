// Runtime errors raised by compiled code and built-ins, and the error report.
#pragma once
#include "platform/Printf_Format.h"
#include <stdexcept>
#include <string>

// A fatal script error. The report is built where the error is raised, while every event and
// script on the way still has its trace record and context.
struct ScriptError : std::runtime_error {
    ScriptError(const std::string& message, std::string report)
        : std::runtime_error(message), report(std::move(report)) {}
    std::string report;
};

// Formats the message (at most 1,024 bytes) and throws ScriptError; the running event or global
// script catches it and shows the report (ShowErrorReport).
[[noreturn]] void RuntimeError(const char* format, ...) MORVANE_PRINTF_FORMAT(1, 2);

// An error that is shown with its full report but does not end the program (external_define).
void ReportError(const char* format, ...) MORVANE_PRINTF_FORMAT(1, 2);

// Reports an error that does not end the program (written to the runtime log only).
void RuntimeWarning(const char* format, ...) MORVANE_PRINTF_FORMAT(1, 2);

// One link of the stack-trace chain kept by every compiled event and script.
struct TraceRecord {
    TraceRecord* previous;
    const char* name;
    int line;
};

// Pushes a record on entry, pops it on every exit.
class TraceScope {
  public:
    explicit TraceScope(const char* name);
    ~TraceScope();
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;
    void Line(int line) { record_.line = line; }

  private:
    TraceRecord record_;
};

TraceRecord* TraceTop();

// What a report names as the place of an error: set around every event and global init script.
class ReportContextScope {
  public:
    ReportContextScope(const char* eventName, const char* objectName);
    ~ReportContextScope();
    ReportContextScope(const ReportContextScope&) = delete;
    ReportContextScope& operator=(const ReportContextScope&) = delete;

  private:
    const char* savedEvent_;
    const char* savedObject_;
};

// The report for a message as things stand now: "ERROR in\naction number 1\nof %s\nfor object %s:\n\n\n%s"
// (only inside an event or global script), then a "\ncalled from - %s (line %d)" per trace record.
std::string FormatErrorReport(const std::string& message);

// Shows the report (once: a second error during a report is not formatted again), sets the
// pending-error flag and asks the program to end with exit code 1.
void ShowErrorReport(const ScriptError& error);
bool ErrorPending();
void ClearErrorPending();
// Shows a text in the error display and logs it; the program goes on.
void ShowError(const std::string& text);

// Where reports are shown besides the log (which reaches stderr): once the window exists, a message box.
using ErrorSink = void (*)(const std::string& report);
void SetErrorSink(ErrorSink sink);
// What ending the program means: the default calls std::exit(1); tests replace it.
using ErrorExit = void (*)(int code);
void SetErrorExit(ErrorExit exitFunction);
