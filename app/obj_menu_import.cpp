#include "app/actions/backup_exists.h"
#include "app/actions/checked_actions.h"
#include "app/actions/command_lines.h"
#include "app/actions/container_lock.h"
#include "app/actions/container_probe.h"
#include "app/busy_note.h"
#include "app/desktop/settings.h"
#include "app/menu_button.h"
#include <algorithm>
#include <cctype>
#include <string>

namespace tool {
namespace {
// Said before anything is cut: a file without a stream would otherwise be cut from its last dump line.
constexpr const char* no_stream_message =
    "Import failed: no HCA or Ogg stream was found in the first 2048 bytes.";

RValue choose_container() {
    return get_open_filename_ext("Halcyon Audio (*.sab, *.mab)|*.sab;*.mab", "", global_var(file_path),
                                 "Choose an audio file from your "
                                 "\"...\\MORVANE\\datas\\sound\\resources\\20000music\\jp\\\" directory...");
}

// A file named on the command line or dropped on the window; like the dialog's filter, only
// containers (in any case), else a message and "".
RValue handed_container() {
    RValue file = file_handed_next();
    if (file == RValue("")) {
        return file;
    }
    std::string ext(filename_ext(file).Text());
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".sab" || ext == ".mab") {
        return file;
    }
    show_message("Only .sab and .mab files can be imported.");
    return "";
}

// The pipeline of the container's format, with its note on the status line while it runs.
void run_import_lines(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset,
                      const RValue& fmt) {
    BusyNoteScope busy("Importing", name,
                       import_watch(std::string(file.Text()), static_cast<int64_t>((offset * bs).AsReal()),
                                    fmt == RValue(1.0), std::string(name.Text())));
    if (fmt == RValue(0.0)) {
        call_script(cmd, "", import_hca_line(file, name, bs, offset));
    }
    if (fmt == RValue(1.0)) {
        call_script(cmd, "", import_ogg_line(file, name, bs, offset));
    }
}

// The probe, the lines and the check, with the container held; what failed, else "". The
// container is free again before any box opens.
RValue import_locked(Frame& frame, const RValue& file) {
    ContainerLock lock = window_container_lock(std::string(file.Text()));
    if (!probe_container(file).found) {
        return no_stream_message;
    }
    RValue name = filename_name(file);
    RValue bs = 16;
    RValue offset = call_script(byte_get_size, file, bs);
    RValue fmt = call_script(byte_get_format, file);
    frame.line(7);
    run_import_lines(file, name, bs, offset, fmt);
    frame.line(8);
    set_on_all(obj_menu_restore, btn_active, backup_exists(file) ? 1 : 0);
    frame.line(9);
    if (Outcome outcome = check_import(std::string(file.Text())); !outcome.ok()) {
        return RValue("Import failed: ") + RValue(outcome.failure) + RValue(".");
    }
    return "";
}

// The import itself, whichever way the container was chosen.
void import_container(Frame& frame, const RValue& file) {
    frame.line(3);
    global_var(file_path) = filename_path(file);
    frame.line(4);
    release_preview();
    // Whatever an earlier import left must not stand in for this one's results.
    forget_track();
    frame.line(5);
    global_var(file_src) = file;
    frame.line(6);
    RValue failure = import_locked(frame, file);
    if (failure != RValue("")) {
        global_var(file_src) = "";
        set_on_all(obj_menu_restore, btn_active, 0);
        show_message(failure);
        return;
    }
    settings::Remembered().importFolder = std::string(global_var(file_path).Text());
}
} // namespace

void obj_menu_import_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_import_Create_0");
    frame.line(1);
    menu_button_create("Import");
}

// A click asks for the container; otherwise a handed-in file, once the splash is over, is taken
// here, in this Step, so it never cuts into another action.
void obj_menu_import_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_import_Step_0");
    frame.line(1);
    const bool clicked = menu_button_step(false, Shortcut{'O', true});
    if (global_var(init) == RValue(1.0)) {
        return;
    }
    frame.line(2);
    RValue file = clicked ? choose_container() : handed_container();
    if (file == RValue("")) {
        return;
    }
    import_container(frame, file);
}
} // namespace tool
