// Each system's one try at handing a start's message to the window (single_window.cpp retries).
#pragma once
#include <string>

namespace single_window {
// Sends `message` (Encode's) and waits for the window's answer; false when no window took it.
bool TryHandOver(const std::string& message);
} // namespace single_window
