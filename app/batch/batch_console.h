// Where batch mode's lines go. The Windows window program has no console of its own (it would open one
// beside the window); started from a console without its output redirected, batch mode writes into
// that console (batch_console_Windows.cpp). A POSIX program always has its terminal already.
#pragma once

namespace batch {
void UseStartingConsole();
} // namespace batch
