#include "app/menu_button.h"
#include "app/actions/command_lines.h"

namespace tool {
void menu_button_create(const char* label) {
    set(BV::image_alpha, 0);
    self_var(btn_color) = global_var(skin_main_gui_alt);
    self_var(btn_label) = label;
    self_var(btn_release) = 0;
    self_var(btn_state) = 0;
}

namespace {
bool pointer_over_button() {
    return truthy(
        call_script(mouse_region, get(BV::x), get(BV::y), get(BV::sprite_width), get(BV::sprite_height)));
}

void track_pointer() {
    if (pointer_over_button()) {
        if (!truthy(mouse_check_button(mb_left))) {
            window_set_cursor(cr_handpoint);
            global_var(menu_index) = get(BV::id);
            if (self_var(btn_state) == RValue(2.0)) {
                self_var(btn_release) = 1;
            }
            self_var(btn_state) = 1;
        }
        if (truthy(mouse_check_button_pressed(mb_left))) {
            self_var(btn_state) = 2;
        }
    } else if (!truthy(mouse_check_button(mb_left))) {
        self_var(btn_state) = 0;
        if (global_var(menu_index) == get(BV::id)) {
            global_var(menu_index) = -1;
            window_set_cursor(cr_default);
        }
    }
}

void update_look() {
    if (self_var(btn_state) == RValue(0.0)) {
        self_var(btn_color) = global_var(skin_main_gui_alt);
    } else if (self_var(btn_state) == RValue(1.0)) {
        self_var(btn_color) = global_var(skin_main_fnt_color);
    }
    if (self_var(btn_state) < RValue(2.0)) {
        RValue alpha = get(BV::image_alpha);
        if (alpha < RValue(1.0)) {
            alpha = alpha + (RValue(1.0) - alpha) * RValue(0.25);
            set(BV::image_alpha, alpha > RValue(1.0) ? RValue(1.0) : alpha);
        }
    } else {
        set(BV::image_alpha, 0.5);
    }
}
} // namespace

bool shortcut_pressed(const Shortcut& shortcut) {
    return truthy(keyboard_check_pressed(shortcut.key)) &&
           truthy(keyboard_check(vk_control)) == shortcut.control &&
           truthy(keyboard_check(vk_shift)) == shortcut.shift;
}

bool menu_button_step(bool switchable, const Shortcut& shortcut) {
    if (global_var(init) == RValue(1.0)) {
        return false;
    }
    self_var(btn_release) = 0;
    if (switchable && self_var(btn_active) == RValue(0.0)) {
        self_var(btn_state) = 0;
        set(BV::image_alpha, 0);
        return false;
    }
    track_pointer();
    update_look();
    if (shortcut_pressed(shortcut)) {
        self_var(btn_release) = 1;
    }
    return self_var(btn_release) == RValue(1.0);
}

void menu_button_draw(bool switchable) {
    if (global_var(init) == RValue(1.0)) {
        return;
    }
    if (switchable && self_var(btn_active) == RValue(0.0)) {
        return;
    }
    RValue x = get(BV::x);
    RValue y = get(BV::y);
    RValue w = get(BV::sprite_width);
    RValue h = get(BV::sprite_height);
    draw_set_alpha(get(BV::image_alpha));
    draw_set_colour(self_var(btn_color));
    draw_rectangle(x, y, x + w - RValue(1.0), y + h - RValue(1.0), true);
    draw_centred_label(self_var(btn_label));
}

void draw_centred_label(const RValue& text) {
    draw_set_colour(global_var(skin_main_fnt_color));
    draw_set_font(global_var(skin_main_fnt));
    draw_set_halign(fa_center);
    draw_set_valign(fa_middle);
    draw_text(get(BV::x) + get(BV::sprite_width) * RValue(0.5),
              get(BV::y) + get(BV::sprite_height) * RValue(0.5), text);
    draw_set_colour(16777215);
    draw_set_halign(fa_left);
    draw_set_valign(fa_top);
    draw_set_alpha(1);
}

void menu_button_Draw(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_menu_button_Draw_0");
    frame.line(1);
    menu_button_draw(false);
}

void release_preview() {
    if (global_var(file_stream) == RValue(-1.0)) {
        return;
    }
    if (truthy(audio_is_playing(global_var(file_stream)))) {
        audio_stop_sound(global_var(file_stream));
        set_on_all(obj_menu_play, btn_label, play_glyph);
    }
    audio_destroy_stream(global_var(file_stream));
    global_var(file_stream) = -1;
    call_script(cmd, "", remove_preview_line());
}
} // namespace tool
