#include "Shell_Names.h"
#include <string_view>

namespace shell {
namespace {

constexpr char TokenStart = '\x01';
constexpr char TokenEnd = '\x02';
constexpr std::string_view HexDigits = "0123456789abcdef";

// Quotes, expansion, operators, escapes, wildcards, and control characters (a token's own
// delimiters among them).
bool MeansSomething(unsigned char c) {
    return c < 0x20 || c == 0x7f ||
           std::string_view("\"%^&|<>!*?").find(static_cast<char>(c)) != std::string_view::npos;
}

// '\' is the lines' path separator, as it is for the runtime's file functions, so it stays.
bool IsOrdinary(std::string_view name) {
    if (!name.empty() && name.front() == '-') {
        return false;
    }
    for (char c : name) {
        if (MeansSomething(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

int HexValue(char c) {
    size_t at = HexDigits.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// The name of a well-formed token starting at `at`, and the position after it; nothing when the
// text there is no token (then the byte is kept as it is).
bool ReadToken(std::string_view text, size_t at, std::string& name, size_t& next) {
    size_t end = text.find(TokenEnd, at + 1);
    if (end == std::string_view::npos || (end - at - 1) % 2 != 0) {
        return false;
    }
    name.clear();
    for (size_t i = at + 1; i < end; i += 2) {
        int high = HexValue(text[i]);
        int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        name += static_cast<char>(high * 16 + low);
    }
    next = end + 1;
    return true;
}

} // namespace

std::string AsName(std::string_view name) {
    if (IsOrdinary(name)) {
        return std::string(name);
    }
    std::string token(1, TokenStart);
    for (unsigned char c : name) {
        token += HexDigits[c >> 4];
        token += HexDigits[c & 0xf];
    }
    token += TokenEnd;
    return token;
}

std::string DecodeNames(std::string_view text, std::vector<bool>* fromName) {
    std::string result;
    std::string name;
    size_t i = 0;
    while (i < text.size()) {
        size_t next = i + 1;
        bool token = text[i] == TokenStart && ReadToken(text, i, name, next);
        std::string_view piece = token ? std::string_view(name) : text.substr(i, 1);
        result += piece;
        if (fromName != nullptr) {
            fromName->insert(fromName->end(), piece.size(), token);
        }
        i = next;
    }
    return result;
}

std::string ProgramArgument(std::string_view text) {
    std::string argument = DecodeNames(text);
    bool startsWithName = !text.empty() && text.front() == TokenStart;
    if (startsWithName && !argument.empty() && argument.front() == '-') {
        return "./" + argument;
    }
    return argument;
}

std::string ShowNames(std::string_view line) {
    std::string shown = DecodeNames(line);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = '?';
        }
    }
    return shown;
}

std::string EscapeControls(std::string_view name) {
    std::string shown;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
        } else if (c == '\n' || c == '\t' || c == '\r') {
            shown += c == '\n' ? "\\n" : c == '\t' ? "\\t" : "\\r";
        } else {
            const char* digits = "0123456789abcdef";
            shown += "\\x";
            shown += digits[byte >> 4];
            shown += digits[byte & 15];
        }
    }
    return shown;
}

} // namespace shell
