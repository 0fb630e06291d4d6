#include "app/menu_button.h"

namespace tool {
namespace {
constexpr const char* audio_filter =
    "MP3 Audio (*.mp3)|*.mp3|OGG Vorbis (*.ogg)|*.ogg|WAV PCM (*.wav)|*.wav|All (*.*)|*.*";

// The container is copied to container.orig once; an existing backup is never overwritten.
RValue backup_line(const RValue& p) {
    return RValue("if not exist \"") + p + RValue(".orig\" (") + RValue("copy \"") + p + RValue("\" \"") + p +
           RValue(".orig\"") + RValue(")");
}

// Decode the user's file, encode it as HCA, and write tuner.head + the stream over the container.
RValue rebuild_line(const RValue& w, const RValue& p) {
    RValue n = filename_name(w);
    return RValue("cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ffmpeg.exe -y -i \"") + w +
           RValue("\" \"") + n + RValue(".wav\" & ") + RValue("vgaudiocli.exe -i \"") + n +
           RValue(".wav\" \"") + n + RValue(".hca\" --out-format hca --hcaquality high & ") +
           RValue("copy /b \"tuner.head\"+\"") + n + RValue(".hca\" \"") + p + RValue("\" & ") +
           RValue("del /q ") + w + RValue(" & ") + RValue("del /q *.hca & ") + RValue("del /q *.wav");
}

RValue log_line(const RValue& p, const RValue& chosen) {
    return RValue("echo ") + date_datetime_string(date_current_datetime()) + RValue(": \"") +
           filename_name(p) + RValue("\" ^> \"") + filename_name(chosen) + RValue("\" >> \"") +
           filename_path(p) + RValue("tuner.log\"");
}
} // namespace

void obj_menu_replace_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_replace_Create_0");
    frame.line(1);
    menu_button_create("Replace");
}

void obj_menu_replace_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_replace_Step_0");
    frame.line(1);
    if (!menu_button_step(false)) {
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
    file_copy(chosen, RValue("lib\\replace") + filename_ext(chosen));
    RValue working = RValue("replace") + filename_ext(chosen);
    frame.line(6);
    call_script(cmd, "", backup_line(global_var(file_src)));
    frame.line(7);
    call_script(cmd, "", rebuild_line(working, global_var(file_src)));
    frame.line(8);
    call_script(cmd, "", log_line(global_var(file_src), chosen));
    frame.line(9);
    show_message("Replace complete.");
    frame.line(10);
    global_var(file_src) = "";
    frame.line(11);
    set_on_all(obj_menu_restore, btn_active, 0);
}
} // namespace tool
