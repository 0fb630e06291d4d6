// Starting programs and waiting for them, one side for each system.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

class Session;

// A program started directly (never through a system shell), with its standard streams as asked.
// On POSIX it gets none of the caller's blocked signals (SDL blocks some); on Windows no console
// window, and no handle of the caller's but its three streams.
struct ChildRequest {
    std::string program;                // the file to run
    std::vector<std::string> arguments; // argv, its name first
    std::string folder;                 // where it starts
    bool inputFromNull = false;         // else the caller's stdin
    int output = -1;                    // descriptor for stdout; -1: the caller's
    int errors = -1;                    // descriptor for stderr; -1: the caller's
    // The output is a file the line may remove or replace right after the program: it must be free
    // once RunChild returns (Windows gives the program a pipe into it, see Shell_Process_Windows.cpp).
    bool outputFreeAtExit = false;
    // The program ends when the tool ends (Shell_Lifeline.h): set for the interpreters the tool starts.
    bool endsWithTool = false;
};

// Runs the program and waits for it: its exit status (on POSIX 128 + the signal's number when a
// signal ended it), or nothing when it could not be started.
std::optional<int> RunChild(const ChildRequest& request);

// Runs one command's text (already expanded and cut out of its line) in a second interpreter
// that nobody waits for, with stdout on `out`; 0 once it is under way.
int StartDetached(const Session& session, std::string_view command, int out);

// Kills the program RunChild is waiting for, if any, and ends this process; no program starts after it.
[[noreturn]] void EndWithRunningChild();

// Whether the file can be started as a program.
bool IsProgramFile(const std::string& path);

// The interpreter's program in the folder of the module (program or library) that holds `address`.
std::string InterpreterBeside(const void* address);

} // namespace shell
