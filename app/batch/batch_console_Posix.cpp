#include "app/batch/batch_console.h"

namespace batch {
// stdout and stderr are the terminal's, or where they were redirected, from the start.
void UseStartingConsole() {}
} // namespace batch
