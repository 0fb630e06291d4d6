// Runtime errors raised by compiled code and built-ins, and the error report.
#pragma once
#include <stdexcept>
#include <string>

// A fatal script error; carries the formatted message (at most 1,024 bytes).
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Formats the message and throws ScriptError. The frame loop catches it and shows the report.
[[noreturn]] void RuntimeError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Reports an error that does not end the program (written to the runtime log).
void RuntimeWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));

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

// The full report text for an error raised in an event:
// "ERROR in\naction number %d\nof %s\nfor object %s:\n\n\n%s" then "called from - %s (line %d)" lines.
std::string FormatErrorReport(const std::string& message, int actionNumber, const std::string& eventName,
                              const std::string& objectName);

// Shows the report (once: a second error during a report is not formatted again), sets the
// pending-error flag and asks the program to end with exit code 1.
void ShowErrorReport(const std::string& message, int actionNumber, const std::string& eventName,
                     const std::string& objectName);
bool ErrorPending();
// A load failure: shown like a report, without the event header.
void ShowLoadError(const std::string& message);
void ClearErrorPending();

// Where reports go: the default writes to stderr; the window layer adds a message box.
using ErrorSink = void (*)(const std::string& report);
void SetErrorSink(ErrorSink sink);
// What ending the program means: the default calls std::exit(1); tests replace it.
using ErrorExit = void (*)(int code);
void SetErrorExit(ErrorExit exitFunction);
