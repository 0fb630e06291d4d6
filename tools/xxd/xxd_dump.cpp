#include "xxd_dump.h"
#include <cstdio>

std::string DumpLine(uint64_t offset, std::string_view bytes, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    char number[32];
    std::snprintf(number, sizeof number,
                  upperCase ? "%07llX: " : "%07llx: ", static_cast<unsigned long long>(offset));
    std::string line = number;
    for (size_t i = 0; i < DumpBytesPerLine; ++i) {
        if (i > 0 && i % 2 == 0) {
            line += ' ';
        }
        if (i < bytes.size()) {
            auto byte = static_cast<unsigned char>(bytes[i]);
            line += digits[byte >> 4];
            line += digits[byte & 0xF];
        } else {
            line += "  ";
        }
    }
    line += "  ";
    for (char c : bytes) {
        line += (c >= 0x20 && c <= 0x7E) ? c : '.';
    }
    line += '\n';
    return line;
}
