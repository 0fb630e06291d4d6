#include "app/actions/container_lock.h"
#include "app/desktop/busy_window.h"

namespace tool {
ContainerLock window_container_lock(const std::string& container) {
    return ContainerLock(container, while_serviced);
}
} // namespace tool
