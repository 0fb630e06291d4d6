#include "Support/Win32/Support_FileM.h"
#include "app/actions/checked_actions.h"
#include "app/busy_note.h"
#include "app/menu_button.h"

namespace tool {
void obj_menu_export_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_export_Create_0");
    frame.line(1);
    menu_button_create("Export");
}

void obj_menu_export_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_export_Step_0");
    frame.line(1);
    if (!menu_button_step(false, Shortcut{'E', true})) {
        return;
    }
    frame.line(2);
    if (global_var(file_src) == RValue("")) {
        show_message("Please import a file before exporting.");
        return;
    }
    frame.line(3);
    RValue target = get_save_filename_ext(
        "MP3 Audio (*.mp3)|*.mp3|OGG Vorbis (*.ogg)|*.ogg|WAV PCM (*.wav)|*.wav|All (*.*)|*.*", "audio.mp3",
        global_var(file_path), "Choose a location to export your audio file...");
    if (target == RValue("")) {
        return;
    }
    frame.line(4);
    Outcome outcome = [&] {
        BusyNoteScope busy("Exporting", filename_name(target),
                           export_watch(FileM_SaveArea() + "lib/", target));
        return export_checked(std::string(target.Text()));
    }();
    frame.line(6);
    show_message(outcome.ok() ? RValue("Export complete.")
                              : RValue("Export failed: " + outcome.failure + "."));
}
} // namespace tool
