#include "app/actions/command_lines.h"
#include "app/menu_button.h"

namespace tool {
namespace {
RValue marker_name() {
    return get(BV::program_directory) + RValue("\\temp.dat");
}
} // namespace

void obj_splash_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_splash_Create_0");
    frame.line(1);
    RValue stages = RValue::NewArray();
    stages.ElementForWrite(0) = "Initializing";
    stages.ElementForWrite(1) = "Unpacking libraries";
    stages.ElementForWrite(2) = "Cleaning up";
    stages.ElementForWrite(3) = "";
    self_var(str_progress) = stages;
    self_var(str_anim) = "";
    self_var(prog) = 0;
    self_var(prog_previous) = 0;
    self_var(time) = 0;
}

void obj_splash_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_splash_Step_0");
    frame.line(1);
    if (self_var(prog) != self_var(prog_previous)) {
        self_var(prog_previous) = self_var(prog);
        RValue stage_text = self_var(str_progress).Element(self_var(prog).AsInt64());
        self_var(str_progress).ElementForWrite(0) = stage_text;
        if (self_var(prog) == RValue(1.0)) {
            frame.line(2);
            call_script(cmd, "", make_lib_line());
            call_script(cmd, "", unpack_line(get(BV::program_directory)));
            // a preview left by an earlier run
            call_script(cmd, "", remove_preview_line());
        }
    }
    frame.line(3);
    if (self_var(prog) == RValue(1.0) && truthy(file_exists(marker_name()))) {
        call_script(cmd, "", delete_marker_line(get(BV::program_directory)));
        self_var(prog) = 2;
    }
    frame.line(4);
    if (self_var(time) < RValue(0.5)) {
        self_var(time) = self_var(time) + get(BV::delta_time) / RValue(1000000.0);
    }
    frame.line(5);
    if (self_var(time) >= RValue(0.5)) {
        if (string_length(self_var(str_anim)) < RValue(3.0)) {
            self_var(str_anim) = self_var(str_anim) + RValue(".");
        } else {
            if (self_var(prog) == RValue(0.0)) {
                self_var(prog) = 1;
            }
            if (self_var(prog) == RValue(2.0)) {
                global_var(init) = 0;
                self_var(prog) = 3;
            }
            self_var(str_anim) = "";
        }
        self_var(time) = 0;
    }
}

// The stage text centred, its dots growing to the right, the spinner just left of it.
void obj_splash_Draw(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_splash_Draw_0");
    frame.line(1);
    if (global_var(init) != RValue(1.0)) {
        return;
    }
    draw_set_font(global_var(skin_main_fnt));
    draw_set_colour(global_var(skin_main_fnt_color));
    frame.line(2);
    RValue t = self_var(str_progress).Element(0);
    frame.line(3);
    RValue x = round(global_var(skin_gui_width) * RValue(0.5) - string_width(t) * RValue(0.5));
    RValue y = round(global_var(skin_gui_height) * RValue(0.5) - string_height(t) * RValue(0.5));
    frame.line(4);
    RValue s = RValue(0.1) * (font_get_size(global_var(skin_main_fnt)) / RValue(9.0));
    frame.line(5);
    draw_sprite_ext(spr_gui_loading, get(BV::image_index),
                    x - sprite_get_width(spr_gui_loading) * s - RValue(8.0), y, s, s, 0,
                    global_var(skin_main_fnt_color), 1);
    frame.line(6);
    draw_text(x, y, t + self_var(str_anim));
    frame.line(7);
    draw_set_colour(16777215);
}
} // namespace tool
