// Nothing the tool starts outlives it. However the tool ends (kill -9, a crash, a logout), the
// interpreters and programs it started end with it before they touch another file.
#pragma once

namespace shell {
// In the tool, before an interpreter starts; made once. On POSIX a pipe whose writing end only the
// tool's own processes hold, its reading end inherited by every interpreter (named in
// MORVANE_LIFELINE); on Windows a job that ends its processes when its one handle, the tool's, closes.
void HoldLifeline();

// In the tool: everything started so far ends as if the tool had ended (the interpreters kill what they
// run); the next interpreter gets a lifeline of its own. How a window stops the line it waits for.
void CutLifeline();

// In an interpreter, at its start and in each background copy of it: when the tool is gone (its end of
// the pipe closed), the program it is running is killed and the interpreter ends at once. The
// descriptor watched, or -1 when the interpreter was not started by the tool (and on Windows).
int WatchLifeline();

#ifdef _WIN32
// The process, started suspended, joins the tool's job; false when it could not.
bool JoinLifeline(void* process);
#endif
} // namespace shell
