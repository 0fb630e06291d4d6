// How a front end lets the tool's own long calls block (a wait for a container's lock, a copy of a
// whole container): the window keeps itself serviced meanwhile, batch mode just makes the call.
#pragma once
#include <functional>

namespace tool {
using Blocking = std::function<void(const std::function<void()>& call)>;
inline void call_directly(const std::function<void()>& call) {
    call();
}
} // namespace tool
