// The string and number built-ins, each case: built-in, arguments, result (its kind included).
#include "Code/Code_Error.h"
#include "builtin_test_support.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {
// Two-, three-byte characters and ASCII around them: "é" is 2 bytes, "€" and "中" 3.
const char* const Mixed = "a\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD"
                          "z"; // a é € 中 z

struct Case {
    const char* builtin;
    std::vector<RValue> args;
    RValue expected;
};

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        RValue result = CallByName(c.builtin, c.args);
        EXPECT_EQ(static_cast<int>(c.expected.kind()), static_cast<int>(result.kind())) << c.builtin;
        EXPECT_EQ(ToDisplayString(c.expected), ToDisplayString(result))
            << c.builtin << "(" << (c.args.empty() ? "" : ToDisplayString(c.args[0])) << ", ...)";
    }
}
} // namespace

// Integral numbers as integers, others with two decimals; every other kind in its own form.
TEST(StringBuiltins, StringGivesEachKindItsForm) {
    Check({{"string", {2.0}, "2"},
           {"string", {2.5}, "2.50"},
           {"string", {-0.25}, "-0.25"},
           {"string", {1.0 / 3.0}, "0.33"},
           {"string", {1e12}, "1000000000000"},
           {"string", {std::nan("")}, "NaN"},
           {"string", {RValue::Int32(-123)}, "-123"},
           {"string", {RValue::Int64(9007199254740993LL)}, "9007199254740993"},
           {"string", {RValue::Bool(true)}, "1"},
           {"string", {RValue()}, "undefined"},
           {"string", {RValue("text stays")}, "text stays"}});
    int target = 0;
    char expected[32];
    std::snprintf(expected, sizeof expected, "%p", static_cast<void*>(&target));
    EXPECT_EQ(expected, CallByName("string", {RValue::Pointer(&target)}).Text());
    RValue array = RValue::NewArray();
    array.Append(RValue(1.0));
    array.Append(RValue("b"));
    EXPECT_EQ("{ { 1,b, }, }", CallByName("string", {array}).Text());
}

// Characters, not bytes; 1-based indices clamped as the built-ins clamp them; overlapping counts.
TEST(StringBuiltins, CharactersPositionsCopiesAndCounts) {
    Check({{"string_length", {RValue(Mixed)}, RValue(5)},
           {"string_length", {RValue("")}, RValue(0)},
           {"string_length", {RValue(12.0)}, RValue(0)},
           {"string_length", {RValue("a\xE2\x82")}, RValue(2)},
           {"string_pos", {RValue("4843"), RValue("4843 4100 0200")}, RValue(1)},
           {"string_pos", {RValue("\xE4\xB8\xAD"), RValue(Mixed)}, RValue(4)},
           {"string_pos", {RValue("z"), RValue(Mixed)}, RValue(5)},
           {"string_pos", {RValue("A"), RValue("0123456789ABCDEF")}, RValue(11)},
           {"string_pos", {RValue("x"), RValue(Mixed)}, RValue(0)},
           {"string_pos", {RValue(""), RValue("abc")}, RValue(0)},
           {"string_pos", {RValue("a"), RValue("")}, RValue(0)},
           {"string_copy", {RValue("abcdef"), 3.0, 2.0}, "cd"},
           {"string_copy", {RValue("abcdef"), 0.0, 2.0}, "ab"},
           {"string_copy", {RValue("abcdef"), -5.0, 2.0}, "ab"},
           {"string_copy", {RValue("abcdef"), 10.0, 2.0}, ""},
           {"string_copy", {RValue("abcdef"), 2.0, -3.0}, ""},
           {"string_copy", {RValue("abcdef"), 5.0, 100.0}, "ef"},
           {"string_copy", {RValue(), 1.0, 3.0}, ""},
           {"string_copy", {RValue(Mixed), 2.0, 2.0}, "\xC3\xA9\xE2\x82\xAC"},
           {"string_copy", {RValue(Mixed), 4.0, 5.0}, "\xE4\xB8\xADz"},
           {"string_copy", {RValue(Mixed), 1.0, 1.0}, "a"},
           {"string_char_at", {RValue("abc"), 0.0}, "a"},
           {"string_char_at", {RValue("abc"), -2.0}, "a"},
           {"string_char_at", {RValue("abc"), 3.0}, "c"},
           {"string_char_at", {RValue("abc"), 4.0}, ""},
           {"string_char_at", {RValue(), 1.0}, ""},
           {"string_char_at", {RValue(Mixed), 2.0}, "\xC3\xA9"},
           {"string_char_at", {RValue(Mixed), 3.0}, "\xE2\x82\xAC"},
           {"string_char_at", {RValue(Mixed), 5.0}, "z"},
           {"string_char_at", {RValue(Mixed), 6.0}, ""},
           {"string_count", {RValue("aa"), RValue("aaa")}, RValue(2)},
           {"string_count", {RValue("#"), RValue("#a#b#")}, RValue(3)},
           {"string_count",
            {RValue("4843 4100 0200"), RValue("0000000: 0000 4843 4100 0200 0000\n")},
            RValue(1)},
           {"string_count", {RValue("#"), RValue("ffffff")}, RValue(0)},
           {"string_count", {RValue("a"), RValue("")}, RValue(0)},
           {"string_count", {RValue(""), RValue("abc")}, RValue(3)}});
}

// is_real knows only the number kind; round ties to even into 32 bits; clamp lets max win.
TEST(StringBuiltins, IsRealRoundAndClamp) {
    Check({{"is_real", {2.5}, RValue(1)},
           {"is_real", {RValue::Int32(2)}, RValue(0)},
           {"is_real", {RValue::Int64(2)}, RValue(0)},
           {"is_real", {RValue::Bool(true)}, RValue(0)},
           {"is_real", {RValue("2")}, RValue(0)},
           {"is_real", {RValue()}, RValue(0)},
           {"round", {2.5}, RValue(2)},
           {"round", {3.5}, RValue(4)},
           {"round", {-2.5}, RValue(-2)},
           {"round", {2.6}, RValue(3)},
           {"round", {74.5000001}, RValue(75)},
           {"round", {RValue("7.9")}, RValue(8)},
           {"round", {2147483647.4}, RValue(2147483647)},
           {"round", {1e12}, RValue(double(std::numeric_limits<int32_t>::min()))},
           {"round", {std::nan("")}, RValue(double(std::numeric_limits<int32_t>::min()))},
           {"clamp", {5.0, 0.0, 3.0}, RValue(3)},
           {"clamp", {-1.0, 0.0, 3.0}, RValue(0)},
           {"clamp", {0.75, 0.0, 1.0}, RValue(0.75)},
           {"clamp", {0.5, 2.0, 1.0}, RValue(1)}});
}

// The table's argument count is checked before the built-in runs: a missing argument is not read as 0.
TEST(StringBuiltins, AWrongArgumentCountIsARuntimeError) {
    for (const auto& [builtin, args, message] :
         std::vector<std::tuple<const char*, std::vector<RValue>, const char*>>{
             {"string_length", {}, "wrong number of arguments for string_length: expected 1, got 0"},
             {"string_pos", {RValue("a")}, "wrong number of arguments for string_pos: expected 2, got 1"},
             {"file_exists",
              {RValue("a"), RValue("b")},
              "wrong number of arguments for file_exists: expected 1, got 2"}}) {
        try {
            CallByName(builtin, args);
            ADD_FAILURE() << builtin << ": no error raised";
        } catch (const ScriptError& error) {
            EXPECT_STREQ(message, error.what());
        }
    }
}
