#include "app/Tool_Code.h"
#include "app/desktop/settings.h"

namespace tool {
// The tool's configuration and skin, in this order; the volume and the first folder as remembered.
RValue& sys_config(CInstance* self, CInstance* other, RValue& result, int, RValue**) {
    Frame frame(self, other, "Script_sys_config");
    frame.line(1);
    global_var(init) = 1;
    global_var(mouse_drag) = 0;
    global_var(menu_focus) = 1;
    global_var(menu_index) = -1;
    global_var(file_path) = settings::ImportStartFolder();
    global_var(file_src) = "";
    global_var(file_stream) = -1;
    global_var(file_vol) = settings::Remembered().volume.value_or(0.75);
    global_var(skin_gui_width) = 384;
    global_var(skin_gui_height) = 192;
    global_var(skin_main_fnt) = 0;
    global_var(skin_main_fnt_color) = 16777215;
    global_var(skin_main_gui_color) = call_script(make_color_hex, "#112");
    global_var(skin_main_gui_alt) = call_script(make_color_hex, "#35354C");
    global_var(skin_main_gui_width) = global_var(skin_gui_width);
    global_var(skin_main_gui_height) = global_var(skin_gui_height);
    global_var(skin_main_img_bg) = spr_gui_main_bg;
    result = RValue(0.0);
    return result;
}
} // namespace tool
