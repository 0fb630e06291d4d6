#include "app/folder_lock.h"
#include "platform/Platform.h"

namespace tool {
FolderLock window_folder_lock(const std::string& container) {
    return FolderLock(container,
                      [](const std::function<void()>& block) { CurrentPlatform().RunBlocking(block); });
}
} // namespace tool
