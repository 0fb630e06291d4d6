#include "app/actions/container_probe.h"
#include "app/actions/command_lines.h"

namespace tool {
namespace {
constexpr const char* hca_signature = "4843 4100 0200";
constexpr const char* ogg_signature = "4F67 6753 0002 0000 0000";
} // namespace

ProbeScan dump_and_scan(const RValue& path) {
    ProbeScan scan;
    call_script(cmd, "", dump_line(path));
    if (!truthy(file_exists("lib\\temp.head"))) {
        return scan;
    }
    scan.dumped = true;
    RValue file = file_text_open_read("lib\\temp.head");
    while (!truthy(file_text_eof(file))) {
        scan.line = file_text_readln(file);
        if (string_count(hca_signature, scan.line) >= RValue(1.0)) {
            scan.format = 0;
            scan.found = true;
            break;
        }
        if (string_count(ogg_signature, scan.line) >= RValue(1.0)) {
            scan.format = 1;
            scan.found = true;
            break;
        }
    }
    file_text_close(file);
    return scan;
}

ProbeScan probe_container(const RValue& path) {
    ProbeScan scan = dump_and_scan(path);
    if (scan.dumped) {
        file_delete("lib\\temp.head");
    }
    return scan;
}

int64_t line_offset(const RValue& line) {
    RValue digits = string_copy(line, 1, 7);
    int64_t value = 0;
    for (int i = 1; i <= 7; ++i) {
        int64_t digit = string_pos(string_char_at(digits, i), "0123456789ABCDEF").AsInt64() - 1;
        value = (value << 4) | digit;
    }
    return value;
}
} // namespace tool
