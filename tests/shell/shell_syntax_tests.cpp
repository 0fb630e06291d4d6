// How lines are expanded, parsed and cut into words.
#include "Shell_Names.h"
#include "Shell_Syntax.h"
#include "Shell_Variables.h"
#include "Shell_Words.h"
#include <gtest/gtest.h>
#include <map>

using namespace shell;
using Words = std::vector<std::string>;

TEST(ProgramArguments, FollowTheCRuntimeRules) {
    EXPECT_EQ(SplitProgramArguments(R"(dd.exe if="C:\Games\bgm 01.sab" of="x.hca" bs=16)"),
              (Words{"dd.exe", R"(if=C:\Games\bgm 01.sab)", "of=x.hca", "bs=16"}));
    // 2n backslashes before a quote give n and toggle; 2n+1 give n and a literal quote.
    EXPECT_EQ(SplitProgramArguments(R"(p a\\"b c" d\"e f\\\"g)"),
              (Words{"p", R"(a\b c)", R"(d"e)", R"(f\"g)"}));
    // Backslashes elsewhere are literal; "" inside quotes is a quote and quoting goes on.
    EXPECT_EQ(SplitProgramArguments(R"(p C:\dir\ "a""b c" "")"), (Words{"p", R"(C:\dir\)", R"(a"b c)", ""}));
    // The program name takes quotes but no backslash escapes.
    EXPECT_EQ(SplitProgramArguments(R"("my prog\"x y)"), (Words{R"(my prog\x)", "y"}));
}

TEST(BuiltinWords, KeepQuotesAndSplitSourcesAtPlus) {
    EXPECT_EQ(SplitWords(R"( /b "tuner.head"+"a b.hca"  "P q" )"),
              (Words{"/b", R"("tuner.head"+"a b.hca")", R"("P q")"}));
    EXPECT_EQ(SplitPlus(R"("tuner.head"+"a+b.hca")"), (Words{R"("tuner.head")", R"("a+b.hca")"}));
    EXPECT_EQ(Operands(R"(/f /Q "/tmp/x" /tmp/y)", "fq"), (Words{R"("/tmp/x")", "/tmp/y"}));
    EXPECT_TRUE(HasSwitch("/Y a b", "y"));
    EXPECT_FALSE(HasSwitch("/-y a b", "y"));
}

TEST(Variables, ExpandDefinedNamesOnly) {
    std::map<std::string, std::string> values = {{"APPDATA", "/home/u/.data"}, {"B", "%A%"}};
    auto lookup = [&](std::string_view name) -> std::optional<std::string> {
        auto found = values.find(std::string(name));
        return found == values.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(ExpandVariables(R"(cd /d "%APPDATA%\lib")", lookup), R"(cd /d "/home/u/.data\lib")");
    // Undefined names and lone signs stay; the closing sign can open the next name.
    EXPECT_EQ(ExpandVariables("100% %NOPE% x%APPDATA%", lookup), "100% %NOPE% x/home/u/.data");
    EXPECT_EQ(ExpandVariables("%NOPE%APPDATA%", lookup), "%NOPE/home/u/.data");
    // A value is data: never expanded again, never read as an operator or a quote.
    EXPECT_EQ(DecodeNames(ExpandVariables("%B%", lookup)), "%A%");
    EXPECT_NE(ExpandVariables("%B%", lookup), "%A%");
}

TEST(Variables, EnvironmentNamesIgnoreCase) {
    ::setenv("MORVANE_TEST_VARIABLE", "v", 1);
    EXPECT_EQ(EnvironmentVariable("morvane_test_variable"), "v");
    EXPECT_EQ(EnvironmentVariable("MORVANE_NO_SUCH_VARIABLE"), std::nullopt);
}

namespace {

const Node& StepNode(const Chain& chain, size_t i) {
    return *chain.steps.at(i).node;
}

} // namespace

TEST(Parser, JointsGroupsAndConditions) {
    std::optional<Chain> chain =
        ParseLine(R"(if exist "a b" ( copy /y "x" "y" && del /f /q "x" ) & echo 1 > "t.dat" & cd /d "q")");
    ASSERT_TRUE(chain);
    ASSERT_EQ(chain->steps.size(), 3u);
    const Node& condition = StepNode(*chain, 0);
    EXPECT_EQ(condition.kind, Node::Kind::IfExist);
    EXPECT_EQ(condition.text, R"("a b")");
    const Node& block = StepNode(condition.body, 0);
    ASSERT_EQ(block.kind, Node::Kind::Block);
    ASSERT_EQ(block.body.steps.size(), 2u);
    EXPECT_EQ(block.body.steps[1].joint, Joint::OnSuccess);
    const Node& echo = StepNode(*chain, 1);
    // The blanks before ">" and before "&" both belong to the text, as in the Windows interpreter.
    EXPECT_EQ(echo.text, "echo 1  ");
    ASSERT_EQ(echo.redirections.size(), 1u);
    EXPECT_EQ(echo.redirections[0].target, R"("t.dat")");
    EXPECT_FALSE(echo.redirections[0].append);
}

TEST(Parser, OperatorsInsideQuotesAndAfterCaretsAreText) {
    std::optional<Chain> chain = ParseLine(R"(echo 12:00: "a&b.sab" ^> "c (1).mp3" >> "d\tuner.log")");
    ASSERT_TRUE(chain);
    ASSERT_EQ(chain->steps.size(), 1u);
    const Node& echo = StepNode(*chain, 0);
    EXPECT_EQ(echo.text, R"(echo 12:00: "a&b.sab" > "c (1).mp3" )");
    EXPECT_TRUE(echo.redirections.at(0).append);
    // The unpack line: every operator of the inner line stands inside quotes of the outer one.
    chain = ParseLine(R"(start "" /b cmd.exe /c "expand "P\lib.win" -f:* "L" && echo 1 > "P\temp.dat"")");
    ASSERT_TRUE(chain);
    ASSERT_EQ(chain->steps.size(), 1u);
    EXPECT_TRUE(StepNode(*chain, 0).redirections.empty());
}

TEST(Parser, ConditionWithoutBlockGovernsTheRestOfTheChain) {
    std::optional<Chain> chain = ParseLine("if not exist x echo a & echo b");
    ASSERT_TRUE(chain);
    ASSERT_EQ(chain->steps.size(), 1u);
    EXPECT_TRUE(StepNode(*chain, 0).negate);
    EXPECT_EQ(StepNode(*chain, 0).body.steps.size(), 2u);
}

TEST(Parser, RejectsBrokenLines) {
    EXPECT_FALSE(ParseLine("( echo a"));
    EXPECT_FALSE(ParseLine("echo a >"));
    EXPECT_FALSE(ParseLine("if exist"));
    EXPECT_FALSE(ParseLine("(echo a) b"));
    // A ')' outside any block is text.
    EXPECT_TRUE(ParseLine("del /q replace.(1)"));
}
