#include "app/Tool_Code.h"

namespace tool {
namespace {
// "0"-"9" → 0-9, "A"-"F" and "a"-"f" → 10-15; anything else, the empty text included, → 15.
double hex_digit(const RValue& character) {
    std::string_view text = character.Text();
    if (text.size() != 1) {
        return 15;
    }
    char c = text[0];
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return 15;
}
} // namespace

// "#35354C" or the short "#112" → a colour integer (red + green × 256 + blue × 65536).
RValue& make_color_hex(CInstance* self, CInstance* other, RValue& result, int argc, RValue** args) {
    Frame frame(self, other, "Script_make_color_hex");
    const RValue& s = argument(argc, args, 0);
    frame.line(1);
    if (truthy(is_real(s))) {
        result = RValue(16777215.0);
        return result;
    }
    frame.line(2);
    double h = string_count("#", s) > RValue(0.0) ? 1 : 0;
    double c[6];
    frame.line(3);
    if (string_length(s) < RValue(6.0)) {
        c[0] = c[1] = hex_digit(string_char_at(s, 1 + h));
        c[2] = c[3] = hex_digit(string_char_at(s, 2 + h));
        c[4] = c[5] = hex_digit(string_char_at(s, 3 + h));
    } else {
        for (int i = 0; i < 6; ++i) {
            c[i] = hex_digit(string_char_at(s, h + 1 + i));
        }
    }
    frame.line(4);
    double red = c[0] * 16 + c[1];
    double green = c[2] * 16 + c[3];
    double blue = c[4] * 16 + c[5];
    result = RValue(red + green * 256 + blue * 65536);
    return result;
}
} // namespace tool
