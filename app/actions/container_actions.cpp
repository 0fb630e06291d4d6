#include "app/actions/container_actions.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/command_lines.h"
#include "app/actions/container_lock.h"

namespace tool {
namespace {
// The extension of the file's name: filename_ext of the whole path would take a dot in a folder's
// name ("my.music/song" gives ".music/song").
RValue name_extension(const RValue& path) {
    return filename_ext(filename_name(path));
}
} // namespace

RValue export_scratch_name(const RValue& target) {
    return RValue("export") + name_extension(target);
}

RValue rebuild_working_name(const RValue& chosen) {
    return RValue("replace") + name_extension(chosen);
}

void export_source(const RValue& target) {
    call_script(cmd, "", export_line(name_extension(target)));
    RValue scratch = RValue("lib\\") + export_scratch_name(target);
    // The copy renames a whole new file over the target: an old target stays until then.
    if (truthy(file_exists(scratch))) {
        file_copy(scratch, target);
        file_delete(scratch);
    }
}

void rebuild_in_lib(const RValue& chosen) {
    RValue working = rebuild_working_name(chosen);
    file_copy(chosen, RValue("lib\\") + working);
    call_script(cmd, "", rebuild_line(working));
    // The line's "del /q" takes the name unquoted: an extension holding a blank leaves it.
    if (truthy(file_exists(RValue("lib\\") + working))) {
        file_delete(RValue("lib\\") + working);
    }
}

void log_replacement(const RValue& container, const RValue& chosen) {
    // tuner.log is one file for a folder's containers: its line goes in under the folder's own lock.
    const std::string folder = System_PathText(System_Path(std::string(container.Text())).parent_path());
    ContainerLock log(folder, [](const std::function<void()>& block) { block(); });
    call_script(cmd, "", log_line(date_datetime_string(date_current_datetime()), container, chosen));
}
} // namespace tool
