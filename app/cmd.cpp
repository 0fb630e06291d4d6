#include "app/Tool_Code.h"

namespace tool {
// The one way the tool runs a command line: RunSilent of tuner.dll, waited for; its result is dropped.
RValue& cmd(CInstance* self, CInstance* other, RValue& result, int argc, RValue** args) {
    Frame frame(self, other, "Script_cmd");
    frame.line(1);
    external_call(global_var(dos), argument(argc, args, 0), argument(argc, args, 1));
    result = RValue(0.0);
    return result;
}
} // namespace tool
