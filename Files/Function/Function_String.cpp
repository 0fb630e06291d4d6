#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Function/Function_Utf8.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
std::string_view TextArg(int argc, RValue* args, int i) {
    const char* text = ArgText(argc, args, i);
    return text != nullptr ? std::string_view(text) : std::string_view();
}

// A 1-based character index as a 0-based count of characters to skip; below 1 counts as 1.
size_t CharactersBefore(int32_t index) {
    return static_cast<size_t>(std::max(index, 1) - 1);
}

void F_String(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = argc > 0 ? RValue(ToDisplayString(args[0])) : RValue(ToDisplayString(RValue()));
}

void F_StringLength(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(static_cast<double>(Utf8Count(TextArg(argc, args, 0))));
}

void F_StringPos(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    std::string_view needle = TextArg(argc, args, 0);
    std::string_view text = TextArg(argc, args, 1);
    size_t found = needle.empty() ? std::string_view::npos : text.find(needle);
    result = RValue(
        found == std::string_view::npos ? 0.0 : static_cast<double>(Utf8Count(text.substr(0, found)) + 1));
}

void F_StringCopy(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    std::string_view text = TextArg(argc, args, 0);
    size_t start = Utf8Advance(text, 0, CharactersBefore(ArgInt(argc, args, 1)));
    size_t count = static_cast<size_t>(std::max(ArgInt(argc, args, 2), 0));
    size_t end = Utf8Advance(text, start, count);
    result = RValue(text.substr(start, end - start));
}

void F_StringCharAt(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    std::string_view text = TextArg(argc, args, 0);
    size_t start = Utf8Advance(text, 0, CharactersBefore(ArgInt(argc, args, 1)));
    result = RValue(text.substr(start, Utf8Advance(text, start, 1) - start));
}

// Matches may overlap: the search resumes one byte after the start of the last match.
void F_StringCount(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    const char* needle = ArgText(argc, args, 0);
    std::string_view text = TextArg(argc, args, 1);
    double count = 0;
    if (needle != nullptr) {
        for (size_t at = text.find(needle); at < text.size(); at = text.find(needle, at + 1)) {
            ++count;
        }
    }
    result = RValue(count);
}

void F_IsReal(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    result = RValue(argc > 0 && args[0].is(Kind::Real) ? 1.0 : 0.0);
}

// Ties go to even (the default rounding mode). Out of range gives the processor's
// "integer indefinite" value, as the 32-bit conversion instruction does.
void F_Round(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    double rounded = std::nearbyint(ArgReal(argc, args, 0));
    bool fits =
        rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max();
    result = RValue(
        static_cast<double>(fits ? static_cast<int32_t>(rounded) : std::numeric_limits<int32_t>::min()));
}

void F_Clamp(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    double low = ArgReal(argc, args, 1);
    double high = ArgReal(argc, args, 2);
    result = RValue(std::min(std::max(ArgReal(argc, args, 0), low), high));
}
} // namespace

void Register_String() {
    Function_Add("string", F_String, 1);
    Function_Add("string_length", F_StringLength, 1);
    Function_Add("string_pos", F_StringPos, 2);
    Function_Add("string_copy", F_StringCopy, 3);
    Function_Add("string_char_at", F_StringCharAt, 2);
    Function_Add("string_count", F_StringCount, 2);
    Function_Add("is_real", F_IsReal, 1);
    Function_Add("round", F_Round, 1);
    Function_Add("clamp", F_Clamp, 3);
}
