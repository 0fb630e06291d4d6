// The bytes the tool's own copies and comparisons go through: a window waiting on one (Restore's copy
// of a whole container) tells from them how far it has come.
#pragma once
#include <cstdint>

namespace tool {
// Bytes copied or compared by this process so far, read from any thread.
uint64_t BytesHandled();
void CountBytesHandled(uint64_t bytes);
} // namespace tool
