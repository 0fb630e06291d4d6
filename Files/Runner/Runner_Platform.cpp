#include "platform/Platform.h"
#include <cassert>

namespace {
Platform* current = nullptr;
}

Platform& CurrentPlatform() {
    assert(current != nullptr);
    return *current;
}

Platform* CurrentPlatformIfAny() {
    return current;
}

void SetCurrentPlatform(Platform* platform) {
    current = platform;
}
