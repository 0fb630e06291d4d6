// Whether a container's ".orig" backup exists: the backup test line leaves lib\orig.temp when it
// does (the runtime may not look beside the container itself).
#pragma once
#include "app/Tool_Code.h"

namespace tool {
bool backup_exists(const RValue& container);
} // namespace tool
