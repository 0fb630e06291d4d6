#include "app/actions/backup_exists.h"
#include "app/actions/command_lines.h"

namespace tool {
bool backup_exists(const RValue& container) {
    call_script(cmd, "", backup_test_line(container));
    if (!truthy(file_exists("lib\\orig.temp"))) {
        return false;
    }
    file_delete("lib\\orig.temp");
    return true;
}
} // namespace tool
