#include "app/Tool_Code.h"

namespace tool {
// 1 when the pointer lies strictly inside the rectangle x, y, w, h (room coordinates).
RValue& mouse_region(CInstance* self, CInstance* other, RValue& result, int argc, RValue** args) {
    Frame frame(self, other, "Script_mouse_region");
    const RValue& x = argument(argc, args, 0);
    const RValue& y = argument(argc, args, 1);
    const RValue& w = argument(argc, args, 2);
    const RValue& h = argument(argc, args, 3);
    frame.line(1);
    bool inside =
        get(BV::mouse_x) > x && get(BV::mouse_x) < x + w && get(BV::mouse_y) > y && get(BV::mouse_y) < y + h;
    result = RValue(inside ? 1.0 : 0.0);
    return result;
}
} // namespace tool
