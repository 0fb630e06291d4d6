#include "app/Tool_Code.h"

namespace tool {
void obj_ico_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_ico_Create_0");
    frame.line(1);
    set(BV::x, 8);
    set(BV::y, 6);
    set(BV::image_speed, 0);
}

// Empty on purpose: it suppresses the default drawing of the logo in the room.
void obj_ico_Draw(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_ico_Draw_0");
}

void obj_ico_DrawGUI(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_ico_Draw_64");
    frame.line(1);
    draw_self();
}
} // namespace tool
