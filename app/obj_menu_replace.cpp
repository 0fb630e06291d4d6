#include "Support/Win32/Support_FileM.h"
#include "app/actions/checked_actions.h"
#include "app/actions/container_actions.h"
#include "app/actions/container_lock.h"
#include "app/busy_note.h"
#include "app/menu_button.h"

namespace tool {
namespace {
constexpr const char* audio_filter =
    "MP3 Audio (*.mp3)|*.mp3|OGG Vorbis (*.ogg)|*.ogg|WAV PCM (*.wav)|*.wav|All (*.*)|*.*";

} // namespace

void obj_menu_replace_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_replace_Create_0");
    frame.line(1);
    menu_button_create("Replace");
}

void obj_menu_replace_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_replace_Step_0");
    frame.line(1);
    if (!menu_button_step(false, Shortcut{'R', true})) {
        return;
    }
    frame.line(2);
    if (global_var(file_src) == RValue("")) {
        show_message("Please import a file before replacing.");
        return;
    }
    frame.line(3);
    RValue chosen = get_open_filename_ext(audio_filter, "audio.mp3", global_var(file_path),
                                          RValue("Choose an audio file to replace ") +
                                              filename_name(global_var(file_src)) + RValue("..."));
    if (chosen == RValue("")) {
        return;
    }
    frame.line(4);
    release_preview();
    frame.line(5);
    // The container is held from the backup to the log line, and free again (the note gone) before the box
    // opens.
    Outcome outcome = [&] {
        BusyNoteScope busy("Replacing", filename_name(global_var(file_src)),
                           replace_watch(FileM_SaveArea() + "lib/", chosen));
        ContainerLock lock = window_container_lock(std::string(global_var(file_src).Text()));
        Outcome replaced =
            replace_checked(std::string(chosen.Text()), std::string(global_var(file_src).Text()));
        frame.line(8);
        if (replaced.ok()) {
            log_replacement(global_var(file_src), chosen);
        }
        return replaced;
    }();
    frame.line(9);
    if (!outcome.ok()) {
        show_message(RValue("Replace failed: " + outcome.failure + "."));
    } else {
        show_message(outcome.note.empty() ? RValue("Replace complete.")
                                          : RValue("Replace complete.\n\n" + outcome.note));
    }
    frame.line(10);
    global_var(file_src) = "";
    frame.line(11);
    set_on_all(obj_menu_restore, btn_active, 0);
}
} // namespace tool
