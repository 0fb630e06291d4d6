#include "Function/Function_Utf8.h"
#include <algorithm>

size_t Utf8CharBytes(unsigned char lead) {
    if (lead < 0xC0) {
        return 1; // ASCII, or a stray continuation byte counted on its own
    }
    return lead < 0xE0 ? 2 : 3;
}

size_t Utf8Advance(std::string_view text, size_t byteOffset, size_t characters) {
    size_t offset = std::min(byteOffset, text.size());
    for (; characters > 0 && offset < text.size(); --characters) {
        // A sequence cut short by the end of the text ends there.
        offset = std::min(offset + Utf8CharBytes(static_cast<unsigned char>(text[offset])), text.size());
    }
    return offset;
}

size_t Utf8Count(std::string_view text) {
    size_t count = 0;
    for (size_t offset = 0; offset < text.size(); ++count) {
        offset = Utf8Advance(text, offset, 1);
    }
    return count;
}
