#include "app/actions/container_probe.h"

namespace tool {
// 0 for HCA (also when no signature is found), 1 for Ogg.
RValue& byte_get_format(CInstance* self, CInstance* other, RValue& result, int argc, RValue** args) {
    Frame frame(self, other, "Script_byte_get_format");
    frame.line(1);
    ProbeScan scan = dump_and_scan(argument(argc, args, 0));
    frame.line(2);
    if (scan.dumped) {
        file_delete("lib\\temp.head");
    }
    result = RValue(scan.format);
    return result;
}
} // namespace tool
