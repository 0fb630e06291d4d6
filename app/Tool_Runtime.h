// What the tool's compiled code sees of the runtime: its variables by name, the built-ins it calls
// (bound by name at load through the reference table), and the trace record of every event and script.
#pragma once
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_Variable.h"
#include "Object/Object_Class.h"
#include <utility>

// The built-ins the tool's code calls.
#define TOOL_BUILTINS(X)                                                                                     \
    X(audio_create_stream)                                                                                   \
    X(audio_destroy_stream)                                                                                  \
    X(audio_is_paused)                                                                                       \
    X(audio_is_playing)                                                                                      \
    X(audio_master_gain)                                                                                     \
    X(audio_pause_sound)                                                                                     \
    X(audio_play_sound)                                                                                      \
    X(audio_resume_sound)                                                                                    \
    X(audio_stop_sound)                                                                                      \
    X(clamp)                                                                                                 \
    X(date_current_datetime)                                                                                 \
    X(date_datetime_string)                                                                                  \
    X(device_mouse_check_button_pressed)                                                                     \
    X(device_mouse_check_button_released)                                                                    \
    X(display_mouse_get_x)                                                                                   \
    X(display_mouse_get_y)                                                                                   \
    X(display_set_gui_size)                                                                                  \
    X(draw_rectangle)                                                                                        \
    X(draw_self)                                                                                             \
    X(draw_set_alpha)                                                                                        \
    X(draw_set_colour)                                                                                       \
    X(draw_set_font)                                                                                         \
    X(draw_set_halign)                                                                                       \
    X(draw_set_valign)                                                                                       \
    X(draw_sprite)                                                                                           \
    X(draw_sprite_ext)                                                                                       \
    X(draw_sprite_stretched_ext)                                                                             \
    X(draw_text)                                                                                             \
    X(event_inherited)                                                                                       \
    X(external_call)                                                                                         \
    X(external_define)                                                                                       \
    X(file_copy)                                                                                             \
    X(file_delete)                                                                                           \
    X(file_exists)                                                                                           \
    X(file_handed_next)                                                                                      \
    X(file_text_close)                                                                                       \
    X(file_text_eof)                                                                                         \
    X(file_text_open_read)                                                                                   \
    X(file_text_readln)                                                                                      \
    X(filename_ext)                                                                                          \
    X(filename_name)                                                                                         \
    X(filename_path)                                                                                         \
    X(font_get_size)                                                                                         \
    X(game_end)                                                                                              \
    X(get_open_filename_ext)                                                                                 \
    X(get_save_filename_ext)                                                                                 \
    X(is_real)                                                                                               \
    X(keyboard_check)                                                                                        \
    X(keyboard_check_pressed)                                                                                \
    X(mouse_check_button)                                                                                    \
    X(mouse_check_button_pressed)                                                                            \
    X(mouse_check_button_released)                                                                           \
    X(mouse_wheel_down)                                                                                      \
    X(mouse_wheel_up)                                                                                        \
    X(round)                                                                                                 \
    X(show_message)                                                                                          \
    X(show_question)                                                                                         \
    X(sprite_get_width)                                                                                      \
    X(string)                                                                                                \
    X(string_char_at)                                                                                        \
    X(string_copy)                                                                                           \
    X(string_count)                                                                                          \
    X(string_height)                                                                                         \
    X(string_length)                                                                                         \
    X(string_pos)                                                                                            \
    X(string_width)                                                                                          \
    X(surface_exists)                                                                                        \
    X(surface_get_height)                                                                                    \
    X(surface_get_width)                                                                                     \
    X(surface_resize)                                                                                        \
    X(window_get_width)                                                                                      \
    X(window_get_x)                                                                                          \
    X(window_get_y)                                                                                          \
    X(window_has_focus)                                                                                      \
    X(window_mouse_get_x)                                                                                    \
    X(window_mouse_get_y)                                                                                    \
    X(window_set_cursor)                                                                                     \
    X(window_set_position)                                                                                   \
    X(window_position_visible)

// The tool's own variables, in slot order.
#define TOOL_VARIABLES(X)                                                                                    \
    X(dos)                                                                                                   \
    X(init)                                                                                                  \
    X(mouse_drag)                                                                                            \
    X(menu_focus)                                                                                            \
    X(menu_index)                                                                                            \
    X(file_path)                                                                                             \
    X(file_src)                                                                                              \
    X(file_stream)                                                                                           \
    X(file_vol)                                                                                              \
    X(skin_gui_width)                                                                                        \
    X(skin_gui_height)                                                                                       \
    X(skin_main_fnt)                                                                                         \
    X(skin_main_fnt_color)                                                                                   \
    X(skin_main_gui_color)                                                                                   \
    X(skin_main_gui_alt)                                                                                     \
    X(skin_main_gui_width)                                                                                   \
    X(skin_main_gui_height)                                                                                  \
    X(skin_main_img_bg)                                                                                      \
    X(mouse_drag_x)                                                                                          \
    X(mouse_drag_y)                                                                                          \
    X(menu_alpha)                                                                                            \
    X(menu_enabled)                                                                                          \
    X(menu_current)                                                                                          \
    X(skin_change)                                                                                           \
    X(btn_color)                                                                                             \
    X(btn_label)                                                                                             \
    X(btn_release)                                                                                           \
    X(btn_state)                                                                                             \
    X(btn_active)                                                                                            \
    X(str_attrib)                                                                                            \
    X(str_progress)                                                                                          \
    X(str_anim)                                                                                              \
    X(prog)                                                                                                  \
    X(prog_previous)                                                                                         \
    X(time)

// The built-in variables the tool reads or writes.
#define TOOL_BUILTIN_VARIABLES(X)                                                                            \
    X(mouse_x)                                                                                               \
    X(mouse_y)                                                                                               \
    X(program_directory)                                                                                     \
    X(application_surface)                                                                                   \
    X(image_speed)                                                                                           \
    X(image_index)                                                                                           \
    X(image_alpha)                                                                                           \
    X(sprite_height)                                                                                         \
    X(sprite_width)                                                                                          \
    X(game_display_name)                                                                                     \
    X(x)                                                                                                     \
    X(y)                                                                                                     \
    X(id)                                                                                                    \
    X(delta_time)

namespace tool {

// The tool's variables and their slots (the same numbering on instances and the global object).
#define TOOL_DECLARE_VARIABLE(name) name,
enum Var : int { TOOL_VARIABLES(TOOL_DECLARE_VARIABLE) VariableCount };
#undef TOOL_DECLARE_VARIABLE

#define TOOL_DECLARE_BUILTIN_VARIABLE(name) name,
enum class BV : int { TOOL_BUILTIN_VARIABLES(TOOL_DECLARE_BUILTIN_VARIABLE) Count };
#undef TOOL_DECLARE_BUILTIN_VARIABLE

// Object indices, sprite indices and runtime constants the code names.
enum Object : int {
    obj_cleanup,
    obj_win,
    obj_ico,
    obj_menu_status,
    obj_menu_import,
    obj_menu_export,
    obj_menu_replace,
    obj_menu_play,
    obj_menu_about,
    obj_menu_restore,
    obj_splash,
};
enum Sprite : int {
    spr_btn_close,
    spr_gui_logo,
    spr_gui_main_bg,
    spr_gui_loading,
    spr_menu_button,
    spr_menu_button_small,
    spr_menu_button_wide,
};
constexpr int mb_left = 1;
constexpr int dll_stdcall = 1;
constexpr int ty_real = 0;
constexpr int ty_string = 1;
constexpr int cr_default = 0;
constexpr int cr_handpoint = -21;
constexpr int vk_shift = 16, vk_control = 17, vk_escape = 27, vk_space = 32, vk_left = 37, vk_right = 39,
              vk_f1 = 112;
constexpr int fa_left = 0, fa_center = 1, fa_top = 0, fa_middle = 1;

// The play glyph, U+25B7.
inline constexpr const char* play_glyph = "\xE2\x96\xB7";

// The reference tables linked with the code: bound by name when the game loads.
namespace refs {
#define TOOL_DECLARE_REFERENCE(name) extern FunctionReference& name;
TOOL_BUILTINS(TOOL_DECLARE_REFERENCE)
#undef TOOL_DECLARE_REFERENCE
} // namespace refs
VariableReference& BuiltinVariableReference(BV variable);

// The running event's or script's self and other, and its trace record.
class Frame {
  public:
    Frame(CInstance* self, CInstance* other, const char* name);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    void line(int number) { trace_.Line(number); }
    static CInstance* RunningSelf() { return runningSelf_; }
    static CInstance* RunningOther() { return runningOther_; }

  private:
    static inline CInstance* runningSelf_ = nullptr;
    static inline CInstance* runningOther_ = nullptr;
    TraceScope trace_;
    CInstance* savedSelf_;
    CInstance* savedOther_;
};

inline CInstance* Self() {
    return Frame::RunningSelf();
}
inline CInstance* Other() {
    return Frame::RunningOther();
}

// Variables: the running instance's own, the global object's, and a built-in's.
inline RValue& self_var(Var v) {
    return Self()->Slot(v);
}
inline RValue& global_var(Var v) {
    return GlobalObject()->Slot(v);
}
RValue get(BV variable);
void set(BV variable, const RValue& value);
// Sets a variable of every instance of an object (as `obj_menu_play.btn_label = ...`).
void set_on_all(Object object, Var v, const RValue& value);

#define TOOL_WRAP_BUILTIN(name)                                                                              \
    template <typename... Args> RValue name(Args&&... args) {                                                \
        return CallBuiltin(refs::name, Self(), Other(), std::forward<Args>(args)...);                        \
    }
TOOL_BUILTINS(TOOL_WRAP_BUILTIN)
#undef TOOL_WRAP_BUILTIN

// Truth of a value as the compiled code tests it.
inline bool truthy(const RValue& value) {
    return value.AsBool();
}

} // namespace tool
