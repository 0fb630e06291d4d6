#include "app/container_probe.h"

namespace tool {
namespace {
// The first seven characters of a dump line read as a hexadecimal offset.
int64_t offset_of(const RValue& line) {
    RValue digits = string_copy(line, 1, 7);
    int64_t value = 0;
    for (int i = 1; i <= 7; ++i) {
        int64_t digit = string_pos(string_char_at(digits, i), "0123456789ABCDEF").AsInt64() - 1;
        value = (value << 4) | digit;
    }
    return value;
}
} // namespace

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
    result = RValue(static_cast<double>(offset_of(scan.line))) / unit;
    return result;
}
} // namespace tool
