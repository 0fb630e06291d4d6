#include "app/desktop/busy_window.h"
#include "app/desktop/settings.h"
#include "app/menu_button.h"

namespace tool {
void obj_win_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_win_Create_0");
    frame.line(1);
    set(BV::image_speed, 0);
    set(BV::image_index, 0);
    set(BV::image_alpha, 0);
    self_var(mouse_drag_x) = 0;
    self_var(mouse_drag_y) = 0;
    global_var(mouse_drag) = 0;
    offer_busy_window(32, static_cast<int>(get(BV::sprite_width).AsReal()));
    // Where the window was last closed, unless no screen shows that place now.
    const auto place = settings::WindowPlace();
    if (place && truthy(window_position_visible(place->first, place->second))) {
        window_set_position(place->first, place->second);
    }
}

// The close button in the top band (or Ctrl+Q, Escape), and dragging the window by that band.
void obj_win_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_win_Step_0");
    frame.line(1);
    if (shortcut_pressed(Shortcut{'Q', true}) || shortcut_pressed(Shortcut{vk_escape})) {
        game_end();
        return;
    }
    RValue mx = display_mouse_get_x();
    RValue my = display_mouse_get_y();
    RValue wx = window_get_x();
    RValue wy = window_get_y();
    RValue ww = window_get_width();
    if (wy < my && my < wy + RValue(32.0)) {
        frame.line(2);
        if (wx + ww - get(BV::sprite_width) < mx && mx < wx + ww) {
            frame.line(3);
            if (truthy(mouse_check_button_released(mb_left))) {
                if (get(BV::image_index) == RValue(2.0)) {
                    game_end();
                } else {
                    set(BV::image_index, 0);
                }
            }
            frame.line(4);
            if (truthy(mouse_check_button_pressed(mb_left))) {
                set(BV::image_index, 2);
            }
            frame.line(5);
            if (get(BV::image_index) == RValue(0.0)) {
                set(BV::image_index, 1);
            }
        } else {
            set(BV::image_index, 0);
        }
        frame.line(6);
        if (mx > wx && get(BV::image_index) == RValue(0.0) &&
            truthy(device_mouse_check_button_pressed(0, mb_left)) && global_var(mouse_drag) == RValue(0.0)) {
            self_var(mouse_drag_x) = window_mouse_get_x();
            self_var(mouse_drag_y) = window_mouse_get_y();
            global_var(mouse_drag) = 1;
        }
    } else {
        set(BV::image_index, 0);
    }
    frame.line(7);
    if (global_var(menu_focus) == RValue(0.0)) {
        global_var(mouse_drag) = 0;
    } else if (global_var(mouse_drag) == RValue(1.0)) {
        frame.line(8);
        window_set_position(display_mouse_get_x() - self_var(mouse_drag_x),
                            display_mouse_get_y() - self_var(mouse_drag_y));
        if (truthy(device_mouse_check_button_released(0, mb_left))) {
            global_var(mouse_drag) = 0;
        }
    }
}

// The panel: the background picture scaled into the surface and tinted.
void obj_win_Draw(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_win_Draw_0");
    frame.line(1);
    draw_sprite_stretched_ext(global_var(skin_main_img_bg), 1, 0, 0, global_var(skin_gui_width),
                              global_var(skin_gui_height), global_var(skin_main_gui_color), 1);
}

// The focus shade, the frame, the close button and the title, over everything drawn in Draw.
void obj_win_DrawGUI(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_win_Draw_64");
    frame.line(1);
    RValue alpha = get(BV::image_alpha);
    RValue target(truthy(window_has_focus()) ? 0.0 : 0.25);
    set(BV::image_alpha, alpha + (target - alpha) * RValue(0.25));
    frame.line(2);
    if (get(BV::image_alpha) > RValue(0.0)) {
        draw_set_alpha(get(BV::image_alpha));
        draw_set_colour(0);
        draw_rectangle(0, 0, global_var(skin_gui_width), global_var(skin_gui_height), false);
        draw_set_alpha(1);
    }
    frame.line(3);
    draw_set_colour(global_var(skin_main_gui_alt));
    draw_rectangle(0, 0, global_var(skin_gui_width) - RValue(1.0), global_var(skin_gui_height) - RValue(1.0),
                   true);
    frame.line(4);
    draw_set_colour(16777215);
    frame.line(5);
    draw_sprite(spr_btn_close, get(BV::image_index), global_var(skin_gui_width), 0);
    frame.line(6);
    draw_set_colour(global_var(skin_main_fnt_color));
    draw_set_font(global_var(skin_main_fnt));
    frame.line(7);
    draw_text(32, 7, get(BV::game_display_name) + RValue(" v") + RValue("1.0.5"));
    frame.line(8);
    draw_set_colour(16777215);
    draw_set_font(-1);
    draw_set_alpha(1);
}
} // namespace tool
