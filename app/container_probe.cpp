#include "app/container_probe.h"
#include "app/command_lines.h"

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
            break;
        }
        if (string_count(ogg_signature, scan.line) >= RValue(1.0)) {
            scan.format = 1;
            break;
        }
    }
    file_text_close(file);
    return scan;
}
} // namespace tool
