// Batch mode: every action of the window from the command line, with no display.
#pragma once
#include <string>
#include <vector>

struct EmbeddedGame;

namespace batch {
// The exit status: 0 every action succeeded, 1 one or more failed, 2 a usage error.
int BatchMain(const std::vector<std::string>& arguments, const EmbeddedGame& game);
} // namespace batch
