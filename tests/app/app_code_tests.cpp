// The app's own code outside a running game: the colour parser of its configuration and the bound
// references to built-ins. (What its command lines do is tested in tests/shell, by running them.)
#include "Code/Code_Function.h"
#include "Variable/Variable_BuiltIn.h"
#include "app/Tool_Code.h"
#include "app/Tool_Game.h"
#include <gtest/gtest.h>

namespace {
class AppCode : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Function_RegisterAll();
        Variable_BuiltIn_RegisterCore();
        ASSERT_TRUE(Code_BindReferences(Tool_Game(nullptr, 0)));
    }
};
} // namespace

TEST_F(AppCode, MakeColorHexShortLongAndOddTexts) {
    auto colour = [](const RValue& text) { return tool::call_script(tool::make_color_hex, text).AsReal(); };
    EXPECT_EQ(2232593, colour("#112"));
    EXPECT_EQ(2232593, colour("112"));
    EXPECT_EQ(4994357, colour("#35354C"));
    EXPECT_EQ(4994357, colour("35354c"));
    EXPECT_EQ(16777215, colour(5));
    // six characters with "#": the long form from position 2, the missing sixth digit counts as 15
    EXPECT_EQ(6239250, colour("#12345"));
    // a letter that is no digit counts as 15
    EXPECT_EQ(255, colour("#GG0000"));
}

// Calls and writes through the references bound at load go straight to the built-in, but what the
// table refuses is still refused: a wrong argument count, a write to a read-only variable.
TEST_F(AppCode, BoundReferencesStillRefuseWhatTheTableRefuses) {
    EXPECT_EQ(RValue(3.0), tool::string_length("abc"));
    try {
        tool::string_length();
        ADD_FAILURE() << "no error for a missing argument";
    } catch (const ScriptError& error) {
        EXPECT_STREQ("wrong number of arguments for string_length: expected 1, got 0", error.what());
    }
    try {
        tool::set(tool::BV::id, 5);
        ADD_FAILURE() << "no error for a read-only variable";
    } catch (const ScriptError& error) {
        EXPECT_STREQ("Unable to set a read-only variable id", error.what());
    }
}
