#include "app/actions/bytes_handled.h"
#include <atomic>

namespace tool {
namespace {
// Counted on the thread that copies, read on the window's.
std::atomic<uint64_t> handled{0};
} // namespace

uint64_t BytesHandled() {
    return handled.load(std::memory_order_relaxed);
}

void CountBytesHandled(uint64_t bytes) {
    handled.fetch_add(bytes, std::memory_order_relaxed);
}
} // namespace tool
