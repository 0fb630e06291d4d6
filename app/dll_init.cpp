#include "app/Tool_Code.h"

namespace tool {
RValue& dll_init(CInstance* self, CInstance* other, RValue& result, int, RValue**) {
    Frame frame(self, other, "Script_dll_init");
    frame.line(1);
    global_var(dos) =
        external_define("tuner.dll", "RunSilent", dll_stdcall, ty_real, 2, ty_string, ty_string);
    result = RValue(0.0);
    return result;
}
} // namespace tool
