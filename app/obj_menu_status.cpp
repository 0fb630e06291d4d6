#include "Graphics/Graphics_Text.h"
#include "app/menu_button.h"

namespace tool {
namespace {
// The master gain follows the volume only while a preview stream exists.
void apply_volume(const RValue& volume) {
    global_var(file_vol) = volume;
    if (global_var(file_stream) != RValue(-1.0)) {
        audio_master_gain(global_var(file_vol));
    }
}

RValue status_text() {
    RValue t = "No file";
    if (global_var(file_src) != RValue("")) {
        t = filename_name(global_var(file_src));
    }
    if (string_length(t) > RValue(25.0)) {
        // Cut where a cluster ends: no letter loses its marks, no emoji sequence is halved.
        t = string_copy(t, 1, double(Text_ClusterCut(t.Text(), 25))) + RValue("...");
    }
    return t;
}

// Click, drag or wheel over the bar sets the volume; the text then shows it in per cent.
RValue handle_volume(const RValue& text) {
    RValue x = get(BV::x);
    RValue y = get(BV::y);
    RValue w = get(BV::sprite_width);
    RValue h = get(BV::sprite_height);
    if (!truthy(call_script(mouse_region, x, y, w, h))) {
        return text;
    }
    if (global_var(menu_index) == RValue(-1.0)) {
        if (truthy(mouse_check_button(mb_left))) {
            apply_volume(clamp((get(BV::mouse_x) - x) / w, 0, 1));
        } else {
            if (truthy(mouse_wheel_down())) {
                apply_volume(clamp(global_var(file_vol) - RValue(0.1), 0, 1));
            }
            if (truthy(mouse_wheel_up())) {
                apply_volume(clamp(global_var(file_vol) + RValue(0.1), 0, 1));
            }
        }
    }
    return RValue("Volume (") + string(round(global_var(file_vol) * RValue(100.0))) + RValue("%)");
}

// Left and right step the volume as the wheel does, wherever the pointer is.
void volume_keys() {
    if (shortcut_pressed(Shortcut{vk_left})) {
        apply_volume(clamp(global_var(file_vol) - RValue(0.1), 0, 1));
    }
    if (shortcut_pressed(Shortcut{vk_right})) {
        apply_volume(clamp(global_var(file_vol) + RValue(0.1), 0, 1));
    }
}
} // namespace

void obj_menu_status_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_status_Create_0");
    frame.line(1);
    set(BV::image_alpha, 0);
    frame.line(2);
    audio_master_gain(global_var(file_vol));
}

void obj_menu_status_Draw(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_status_Draw_0");
    frame.line(1);
    if (global_var(init) == RValue(1.0)) {
        return;
    }
    frame.line(2);
    RValue alpha = get(BV::image_alpha);
    if (alpha < RValue(1.0)) {
        alpha = alpha + (RValue(1.0) - alpha) * RValue(0.25);
        set(BV::image_alpha, alpha > RValue(1.0) ? RValue(1.0) : alpha);
    }
    frame.line(3);
    RValue x = get(BV::x);
    RValue y = get(BV::y);
    RValue w = get(BV::sprite_width);
    RValue h = get(BV::sprite_height);
    draw_set_alpha(get(BV::image_alpha));
    draw_set_colour(global_var(skin_main_gui_alt));
    frame.line(4);
    draw_rectangle(x, y, x + w - RValue(1.0), y + h - RValue(1.0), true);
    frame.line(5);
    draw_rectangle(x, y, x + (w - RValue(1.0)) * global_var(file_vol), y + h - RValue(1.0), false);
    frame.line(6);
    volume_keys();
    RValue t = status_text();
    frame.line(7);
    t = handle_volume(t);
    frame.line(8);
    draw_centred_label(t);
}
} // namespace tool
