#include "app/actions/container_probe.h"

namespace tool {
// Where the container's stream starts, divided by the unit (576 / unit when there is no dump to read).
RValue& byte_get_size(CInstance* self, CInstance* other, RValue& result, int argc, RValue** args) {
    Frame frame(self, other, "Script_byte_get_size");
    const RValue& path = argument(argc, args, 0);
    const RValue& unit = argument(argc, args, 1);
    frame.line(1);
    ProbeScan scan = dump_and_scan(path);
    frame.line(2);
    if (!scan.dumped) {
        result = RValue(576.0) / unit;
        return result;
    }
    frame.line(3);
    file_delete("lib\\temp.head");
    if (scan.line == RValue("")) {
        result = RValue(576.0) / unit;
        return result;
    }
    frame.line(4);
    result = RValue(static_cast<double>(line_offset(scan.line))) / unit;
    return result;
}
} // namespace tool
