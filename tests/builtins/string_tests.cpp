#include "builtin_test_support.h"
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
std::string Text(const RValue& value) {
    EXPECT_TRUE(value.isString()) << "kind " << static_cast<int>(value.kind());
    return std::string(value.Text());
}

double Number(const RValue& value) {
    EXPECT_TRUE(value.is(Kind::Real)) << "kind " << static_cast<int>(value.kind());
    return value.real;
}

// Two-, three-byte characters and ASCII around them: "é" is 2 bytes, "€" and "中" 3.
const char* const Mixed = "a\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD"
                          "z"; // a é € 中 z
} // namespace

// Integral numbers as integers, others with two decimals; every other kind in its own form.
TEST(StringFormat, EachKindHasItsForm) {
    EXPECT_EQ("2", Text(CallByName("string", {2.0})));
    EXPECT_EQ("2.50", Text(CallByName("string", {2.5})));
    EXPECT_EQ("-0.25", Text(CallByName("string", {-0.25})));
    EXPECT_EQ("0.33", Text(CallByName("string", {1.0 / 3.0})));
    EXPECT_EQ("1000000000000", Text(CallByName("string", {1e12})));
    EXPECT_EQ("NaN", Text(CallByName("string", {std::nan("")})));
    EXPECT_EQ("-123", Text(CallByName("string", {RValue::Int32(-123)})));
    EXPECT_EQ("9007199254740993", Text(CallByName("string", {RValue::Int64(9007199254740993LL)})));
    EXPECT_EQ("1", Text(CallByName("string", {RValue::Bool(true)})));
    EXPECT_EQ("undefined", Text(CallByName("string", {RValue()})));
    EXPECT_EQ("text stays", Text(CallByName("string", {RValue("text stays")})));
    int target = 0;
    char expected[32];
    std::snprintf(expected, sizeof expected, "%p", static_cast<void*>(&target));
    EXPECT_EQ(expected, Text(CallByName("string", {RValue::Pointer(&target)})));
    RValue array = RValue::NewArray();
    array.Append(RValue(1.0));
    array.Append(RValue("b"));
    EXPECT_EQ("{ { 1,b, }, }", Text(CallByName("string", {array})));
}

TEST(StringLength, CountsCharactersNotBytes) {
    EXPECT_EQ(5, Number(CallByName("string_length", {RValue(Mixed)})));
    EXPECT_EQ(0, Number(CallByName("string_length", {RValue("")})));
    EXPECT_EQ(0, Number(CallByName("string_length", {})));
    EXPECT_EQ(0, Number(CallByName("string_length", {RValue(12.0)})));
    // A lead byte whose sequence is cut off by the end still counts as one character.
    EXPECT_EQ(2, Number(CallByName("string_length", {RValue("a\xE2\x82")})));
}

TEST(StringPos, GivesTheCharacterPositionOfTheFirstMatch) {
    EXPECT_EQ(1, Number(CallByName("string_pos", {RValue("4843"), RValue("4843 4100 0200")})));
    EXPECT_EQ(4, Number(CallByName("string_pos", {RValue("\xE4\xB8\xAD"), RValue(Mixed)})));
    EXPECT_EQ(5, Number(CallByName("string_pos", {RValue("z"), RValue(Mixed)})));
    EXPECT_EQ(11, Number(CallByName("string_pos", {RValue("A"), RValue("0123456789ABCDEF")})));
    EXPECT_EQ(0, Number(CallByName("string_pos", {RValue("x"), RValue(Mixed)})));
    EXPECT_EQ(0, Number(CallByName("string_pos", {RValue(""), RValue("abc")})));
    EXPECT_EQ(0, Number(CallByName("string_pos", {RValue("a"), RValue("")})));
    EXPECT_EQ(0, Number(CallByName("string_pos", {RValue("a")})));
}

TEST(StringCopy, TakesCharactersAndClampsItsRange) {
    EXPECT_EQ("cd", Text(CallByName("string_copy", {RValue("abcdef"), 3.0, 2.0})));
    EXPECT_EQ("ab", Text(CallByName("string_copy", {RValue("abcdef"), 0.0, 2.0})));
    EXPECT_EQ("ab", Text(CallByName("string_copy", {RValue("abcdef"), -5.0, 2.0})));
    EXPECT_EQ("", Text(CallByName("string_copy", {RValue("abcdef"), 10.0, 2.0})));
    EXPECT_EQ("", Text(CallByName("string_copy", {RValue("abcdef"), 2.0, -3.0})));
    EXPECT_EQ("ef", Text(CallByName("string_copy", {RValue("abcdef"), 5.0, 100.0})));
    EXPECT_EQ("", Text(CallByName("string_copy", {RValue(), 1.0, 3.0})));
}

TEST(StringCopy, KeepsMultiByteCharactersWhole) {
    EXPECT_EQ("\xC3\xA9\xE2\x82\xAC", Text(CallByName("string_copy", {RValue(Mixed), 2.0, 2.0})));
    EXPECT_EQ("\xE4\xB8\xAD"
              "z",
              Text(CallByName("string_copy", {RValue(Mixed), 4.0, 5.0})));
    EXPECT_EQ("a", Text(CallByName("string_copy", {RValue(Mixed), 1.0, 1.0})));
}

TEST(StringCharAt, IndexesCharactersFromOne) {
    EXPECT_EQ("a", Text(CallByName("string_char_at", {RValue("abc"), 0.0})));
    EXPECT_EQ("a", Text(CallByName("string_char_at", {RValue("abc"), -2.0})));
    EXPECT_EQ("c", Text(CallByName("string_char_at", {RValue("abc"), 3.0})));
    EXPECT_EQ("", Text(CallByName("string_char_at", {RValue("abc"), 4.0})));
    EXPECT_EQ("", Text(CallByName("string_char_at", {RValue(), 1.0})));
    EXPECT_EQ("\xC3\xA9", Text(CallByName("string_char_at", {RValue(Mixed), 2.0})));
    EXPECT_EQ("\xE2\x82\xAC", Text(CallByName("string_char_at", {RValue(Mixed), 3.0})));
    EXPECT_EQ("z", Text(CallByName("string_char_at", {RValue(Mixed), 5.0})));
    EXPECT_EQ("", Text(CallByName("string_char_at", {RValue(Mixed), 6.0})));
}

TEST(StringCount, CountsOverlappingMatches) {
    EXPECT_EQ(2, Number(CallByName("string_count", {RValue("aa"), RValue("aaa")})));
    EXPECT_EQ(3, Number(CallByName("string_count", {RValue("#"), RValue("#a#b#")})));
    EXPECT_EQ(1, Number(CallByName("string_count", {RValue("4843 4100 0200"),
                                                    RValue("0000000: 0000 4843 4100 0200 0000\n")})));
    EXPECT_EQ(0, Number(CallByName("string_count", {RValue("#"), RValue("ffffff")})));
    EXPECT_EQ(0, Number(CallByName("string_count", {RValue("a"), RValue("")})));
    // An empty pattern matches at every byte of the text.
    EXPECT_EQ(3, Number(CallByName("string_count", {RValue(""), RValue("abc")})));
}

TEST(IsReal, OnlyTheNumberKindCounts) {
    EXPECT_EQ(1, Number(CallByName("is_real", {2.5})));
    EXPECT_EQ(0, Number(CallByName("is_real", {RValue::Int32(2)})));
    EXPECT_EQ(0, Number(CallByName("is_real", {RValue::Int64(2)})));
    EXPECT_EQ(0, Number(CallByName("is_real", {RValue::Bool(true)})));
    EXPECT_EQ(0, Number(CallByName("is_real", {RValue("2")})));
    EXPECT_EQ(0, Number(CallByName("is_real", {RValue()})));
}

TEST(Round, TiesGoToTheEvenIntegerAsA32BitInteger) {
    EXPECT_EQ(2, Number(CallByName("round", {2.5})));
    EXPECT_EQ(4, Number(CallByName("round", {3.5})));
    EXPECT_EQ(-2, Number(CallByName("round", {-2.5})));
    EXPECT_EQ(3, Number(CallByName("round", {2.6})));
    EXPECT_EQ(75, Number(CallByName("round", {74.5000001})));
    EXPECT_EQ(8, Number(CallByName("round", {RValue("7.9")})));
    EXPECT_EQ(2147483647, Number(CallByName("round", {2147483647.4})));
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), Number(CallByName("round", {1e12})));
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), Number(CallByName("round", {std::nan("")})));
}

TEST(Clamp, MaxWinsWhenTheBoundsAreCrossed) {
    EXPECT_EQ(3, Number(CallByName("clamp", {5.0, 0.0, 3.0})));
    EXPECT_EQ(0, Number(CallByName("clamp", {-1.0, 0.0, 3.0})));
    EXPECT_EQ(0.75, Number(CallByName("clamp", {0.75, 0.0, 1.0})));
    EXPECT_EQ(1, Number(CallByName("clamp", {0.5, 2.0, 1.0})));
}
