#include "app/container_actions.h"
#include "app/backup_exists.h"
#include "app/command_lines.h"

namespace tool {
namespace {
// The extension of the file's name: filename_ext of the whole path would take a dot in a folder's
// name ("my.music/song" gives ".music/song").
RValue name_extension(const RValue& path) {
    return filename_ext(filename_name(path));
}
} // namespace

void export_source(const RValue& target) {
    RValue extension = name_extension(target);
    call_script(cmd, "", export_line(extension));
    RValue scratch = RValue("lib\\export") + extension;
    if (truthy(file_exists(scratch))) {
        if (truthy(file_exists(target))) {
            file_delete(target);
        }
        file_copy(scratch, target);
        file_delete(scratch);
    }
}

void replace_audio(const RValue& chosen, const RValue& container) {
    file_copy(chosen, RValue("lib\\replace") + name_extension(chosen));
    RValue working = RValue("replace") + name_extension(chosen);
    call_script(cmd, "", backup_line(container));
    // A backup that could not be made (a full disk) must not be followed by a replaced container.
    if (backup_exists(container)) {
        call_script(cmd, "", rebuild_line(working, container));
    }
}

void log_replacement(const RValue& container, const RValue& chosen) {
    call_script(cmd, "", log_line(date_datetime_string(date_current_datetime()), container, chosen));
}
} // namespace tool
