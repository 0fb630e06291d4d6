// Waiting for child processes.
#pragma once
#include <sys/types.h>

namespace shell {

// The exit status of a child (128 + signal number when a signal ended it; 1 if it cannot be
// waited for).
int WaitForExit(pid_t pid);

} // namespace shell
