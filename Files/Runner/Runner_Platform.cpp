#include "platform/Platform.h"
#include <stdexcept>

namespace {
Platform* current = nullptr;
}

Platform& CurrentPlatform() {
    // Every way of running sets one (batch mode the headless backend): its absence is a fault of ours.
    if (current == nullptr)
        throw std::logic_error("no platform backend was chosen");
    return *current;
}

void SetCurrentPlatform(Platform* platform) {
    current = platform;
}
