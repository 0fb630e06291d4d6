#include "app/menu_button.h"

namespace tool {
void obj_menu_play_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_play_Create_0");
    frame.line(1);
    menu_button_create(play_glyph);
}

// Play, pause, resume: the label shows what the next click does.
void obj_menu_play_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_play_Step_0");
    frame.line(1);
    if (!menu_button_step(false, Shortcut{vk_space})) {
        return;
    }
    frame.line(2);
    if (global_var(file_src) == RValue("") || !truthy(file_exists("lib\\stream.ogg"))) {
        return;
    }
    frame.line(3);
    if (global_var(file_stream) == RValue(-1.0)) {
        global_var(file_stream) = audio_create_stream("lib\\stream.ogg");
    }
    frame.line(4);
    if (global_var(file_stream) == RValue(-1.0)) {
        return;
    }
    if (!truthy(audio_is_playing(global_var(file_stream)))) {
        audio_play_sound(global_var(file_stream), 1, 1);
        self_var(btn_label) = "||";
    } else if (!truthy(audio_is_paused(global_var(file_stream)))) {
        audio_pause_sound(global_var(file_stream));
        self_var(btn_label) = play_glyph;
    } else {
        audio_resume_sound(global_var(file_stream));
        self_var(btn_label) = "||";
    }
}
} // namespace tool
