#include "app/actions/container_lock.h"
#include "platform/Platform.h"

namespace tool {
ContainerLock window_container_lock(const std::string& container) {
    return ContainerLock(container,
                         [](const std::function<void()>& block) { CurrentPlatform().RunBlocking(block); });
}
} // namespace tool
