#include "app/actions/command_lines.h"
#include "app/desktop/settings.h"

namespace tool {
// Keeps the drawing surface (and, when it had to change, the GUI layer) at the tool's size.
void obj_cleanup_BeginStep(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_cleanup_Step_1");
    frame.line(1);
    RValue surface = get(BV::application_surface);
    if (!truthy(surface_exists(surface))) {
        return;
    }
    frame.line(2);
    if (surface_get_width(surface) != global_var(skin_gui_width) ||
        surface_get_height(surface) != global_var(skin_gui_height)) {
        frame.line(3);
        surface_resize(surface, global_var(skin_gui_width), global_var(skin_gui_height));
        display_set_gui_size(global_var(skin_gui_width), global_var(skin_gui_height));
    }
}

// At the end: the volume and the window's place are remembered, the preview stream goes, and the
// whole lib directory with it.
void obj_cleanup_CleanUp(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_cleanup_CleanUp_0");
    settings::Values& remembered = settings::Remembered();
    remembered.volume = global_var(file_vol).AsReal();
    settings::RememberWindowPlace(static_cast<int>(window_get_x().AsReal()),
                                  static_cast<int>(window_get_y().AsReal()));
    settings::Save();
    frame.line(1);
    if (global_var(file_stream) != RValue(-1.0)) {
        audio_stop_sound(global_var(file_stream));
        audio_destroy_stream(global_var(file_stream));
    }
    frame.line(2);
    call_script(cmd, "", cleanup_line());
}
} // namespace tool
