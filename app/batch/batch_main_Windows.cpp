// Batch mode runs every action through the command interpreter, which has no Windows side yet.
#include "app/batch/batch_main.h"
#include <cstdio>

namespace batch {
int BatchMain(const std::vector<std::string>&, const EmbeddedGame&) {
    std::fputs("Batch mode is not available in the Windows build yet.\n", stderr);
    return 2;
}
} // namespace batch
