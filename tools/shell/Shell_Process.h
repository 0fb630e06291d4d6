// Starting and waiting for child processes.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

namespace shell {

// A program started directly (never through /bin/sh), with none of the caller's blocked signals
// (SDL blocks some) and its standard streams as asked.
struct ChildRequest {
    std::string program;                // the file to run
    std::vector<std::string> arguments; // argv, its name first
    std::string folder;                 // where it starts
    bool inputFromNull = false;         // else the caller's stdin
    int output = -1;                    // descriptor for stdout; -1: the caller's
    int errors = -1;                    // descriptor for stderr; -1: the caller's
};

// The child's pid, or -1 when it could not be started.
pid_t StartChild(const ChildRequest& request);

// The exit status of a child (128 + signal number when a signal ended it; 1 if it cannot be
// waited for).
int WaitForExit(pid_t pid);

} // namespace shell
