#include "app/batch/batch_console.h"

namespace batch {
// stdout and stderr are the terminal's, or where they were redirected, from the start, and a
// terminal takes the bytes as they are.
BatchConsole::BatchConsole() = default;
BatchConsole::~BatchConsole() = default;
} // namespace batch
