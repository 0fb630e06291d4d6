// Text in the data's font: placement by alignment, measures, UTF-8 glyphs.
#include "Graphics/Graphics_Text.h"
#include "graphics_fixture.h"
#include <numeric>

namespace {
class TextTest : public GraphicsTest {
  protected:
    SDL_Rect DrawnAt(double x, double y, const char* text, int halign, int valign) {
        DrawFrame([&] {
            Call("draw_set_colour", {double(0xFFFFFF)});
            Call("draw_set_font", {0.0});
            Call("draw_set_halign", {double(halign)});
            Call("draw_set_valign", {double(valign)});
            Call("draw_text", {x, y, text});
        });
        return InkBounds();
    }
};

std::array<int, 4> Box(SDL_Rect r) {
    return {r.x, r.y, r.w, r.h};
}

TEST_F(TextTest, CentredTextIsPlacedAroundThePoint) {
    // "AB" advances 7 + 6 = 13: left edge 50 - 6.5 rounded down; 16 high: top 30 - 8.
    EXPECT_EQ(Box(DrawnAt(50, 30, "AB", 1, 1)), (std::array{43, 22, 13, 16}));
    EXPECT_TRUE(ColourIs(Pixel(49, 25), 0, 0, 0)); // between A (6 wide) and B (bearing 1)
    EXPECT_TRUE(ColourIs(Pixel(50, 25), 0, 0, 0));
    EXPECT_TRUE(ColourIs(Pixel(51, 25), 255, 255, 255));
}

TEST_F(TextTest, LeftTopAndRightBottomAlignment) {
    EXPECT_EQ(Box(DrawnAt(10, 5, "A", 0, 0)), (std::array{10, 5, 6, 16}));
    EXPECT_EQ(Box(DrawnAt(60, 50, "A", 2, 2)), (std::array{53, 34, 6, 16}));
}

TEST_F(TextTest, EachLineIsAlignedOnItsOwn) {
    DrawnAt(50, 10, "AB\nA", 1, 0);
    EXPECT_TRUE(ColourIs(Pixel(43, 12), 255, 255, 255)); // "AB" starts at 43
    EXPECT_TRUE(ColourIs(Pixel(46, 28), 255, 255, 255)); // "A" (7) starts at 50 - 3.5 = 46
    EXPECT_TRUE(ColourIs(Pixel(45, 28), 0, 0, 0));
}

TEST_F(TextTest, MultiByteCharactersAreGlyphsAndMissingOnesComeFromASystemFont) {
    EXPECT_EQ(Box(DrawnAt(10, 10, "\u25B7", 0, 0)), (std::array{10, 10, 8, 16}));
    // The font has no 'x': a system font's is drawn, and the font's own 'A' follows it.
    SDL_Rect withX = DrawnAt(10, 10, "xA", 0, 0);
    EXPECT_LE(withX.x, 11);
    EXPECT_GE(withX.x + withX.w, 16 + 5);
    // Nor has it kana: a Japanese name ("radio") is drawn from a font that has them, full height.
    SDL_Rect kana = DrawnAt(10, 10, "\u30E9\u30B8\u30AA", 0, 0);
    EXPECT_GE(kana.w, 3 * 7);
    EXPECT_GE(kana.h, 8);
    // An unassigned code point is in no font: a hollow box stands for it, on the baseline.
    EXPECT_EQ(Box(DrawnAt(10, 10, "\u0378A", 0, 0)), (std::array{11, 10, 13, 16}));
    EXPECT_TRUE(ColourIs(Pixel(11, 18), 255, 255, 255));
    EXPECT_TRUE(ColourIs(Pixel(13, 18), 0, 0, 0));
}

TEST_F(TextTest, MeasuresFollowTheCurrentFont) {
    Call("draw_set_font", {0.0});
    EXPECT_EQ(Real("string_width", {"AB"}), 13);
    EXPECT_EQ(Real("string_height", {"AB"}), 16);
    EXPECT_EQ(Real("string_width", {"A\nBB"}), 12);
    EXPECT_EQ(Real("string_height", {"A\nBB"}), 32);
    EXPECT_EQ(Real("string_width", {"\u25B7 "}), 13);
    // The default font (-1) is the data's first font.
    Call("draw_set_font", {-1.0});
    EXPECT_EQ(Real("string_width", {"AB"}), 13);
    Call("draw_set_font", {7.0});
    EXPECT_EQ(Real("string_width", {"AB"}), 0);
}

TEST_F(TextTest, FontSizeInPoints) {
    EXPECT_EQ(Real("font_get_size", {0.0}), 9);
    EXPECT_EQ(Real("font_get_size", {-1.0}), 9);
    EXPECT_EQ(Real("font_get_size", {3.0}), -1);
}

TEST_F(TextTest, TextTakesTheDrawColourAndAlpha) {
    DrawFrame([&] {
        Call("draw_set_colour", {double(0x0000FF)});
        Call("draw_set_alpha", {0.5});
        Call("draw_text", {0.0, 0.0, "A"});
    });
    EXPECT_TRUE(ColourIs(Pixel(2, 2), 128, 0, 0, 1));
}

// Names in other scripts, drawn from the system's fonts: in reading order, shaped, never blank.
class ScriptTest : public TextTest {
  protected:
    // How much ink each column of the window holds.
    std::vector<int> Columns() const {
        std::vector<int> columns(WindowWidth);
        for (int x = 0; x < WindowWidth; ++x)
            for (int y = 0; y < WindowHeight; ++y)
                columns[size_t(x)] += Pixel(x, y).r;
        return columns;
    }
    std::vector<int> ColumnsOf(const char* text) {
        DrawnAt(10, 10, text, 0, 0);
        return Columns();
    }
    double Width(const char* text) {
        Call("draw_set_font", {0.0});
        return Real("string_width", {text});
    }
};

// Where `part`'s inked columns fit `whole` best, as an offset from where `part` was drawn.
int BestOffset(const std::vector<int>& whole, const std::vector<int>& part) {
    const auto inked = [](int ink) { return ink > 0; };
    const auto first = size_t(std::find_if(part.begin(), part.end(), inked) - part.begin());
    const auto last = size_t(part.rend() - std::find_if(part.rbegin(), part.rend(), inked));
    int best = 0;
    long bestError = -1;
    for (int offset = -int(first); offset + last <= whole.size(); ++offset) {
        long error = 0;
        for (size_t x = first; x < last; ++x)
            error += std::labs(long(whole[x + size_t(offset)]) - part[x]);
        if (bestError < 0 || error < bestError) {
            bestError = error;
            best = offset;
        }
    }
    return best;
}

TEST_F(ScriptTest, RightToLeftTextReadsFromTheRight) {
    // Hebrew alef then bet: bet stands left of alef.
    const std::vector<int> word = ColumnsOf("\u05D0\u05D1");
    EXPECT_GT(BestOffset(word, ColumnsOf("\u05D0")), BestOffset(word, ColumnsOf("\u05D1")) + 3);
    // A Hebrew name sets the line's direction: the Latin that ends it stands at its left, in the
    // data's own glyphs ("AB" is the font's solid 6 and 5 wide blocks, at 10 and 18).
    DrawnAt(10, 10, "\u05D0\u05D1.AB", 0, 0);
    EXPECT_TRUE(ColourIs(Pixel(12, 12), 255, 255, 255));
    EXPECT_TRUE(ColourIs(Pixel(20, 12), 255, 255, 255));
    EXPECT_TRUE(ColourIs(Pixel(16, 24), 0, 0, 0));
}

TEST_F(ScriptTest, LettersJoinAndCombine) {
    // Arabic "song": joined, the letters lose the tails they have alone.
    const char* letters[] = {"\u0623", "\u063A", "\u0646", "\u064A", "\u0629"};
    double alone = 0;
    for (const char* letter : letters)
        alone += Width(letter);
    EXPECT_LT(Width("\u0623\u063A\u0646\u064A\u0629"), alone * 0.9);
    // Devanagari ka, virama, ssa make one conjunct, narrower than the three side by side.
    EXPECT_LT(Width("\u0915\u094D\u0937"), (Width("\u0915") + Width("\u094D") + Width("\u0937")) * 0.9);
}

TEST_F(ScriptTest, EveryScriptOfTheNameTableDraws) {
    // Each name, and its first letter, which must be a glyph of its own and not the box that stands
    // for a character no font has.
    const std::pair<const char*, const char*> names[] = {
        {"\uD55C\uAD6D\uC5B4", "\uD55C"},                         // Korean
        {"\u0E20\u0E32\u0E29\u0E32\u0E44\u0E17\u0E22", "\u0E20"}, // Thai
        {"\u0939\u093F\u0928\u094D\u0926\u0940", "\u0939\u093F"}, // Devanagari
        {"\U0001F697\U0001F4FB", "\U0001F697"},                   // emoji: a car, a radio
        {"\u30E9\u30B8\u30AA", "\u30E9"},                         // Japanese
        {"\u05E9\u05D9\u05E8", "\u05E9"},                         // Hebrew
        {"\u0623\u063A\u0646\u064A\u0629", "\u0623"}};            // Arabic
    const std::vector<int> box = ColumnsOf("\U0010FFFD");
    for (const auto& [name, letter] : names) {
        const SDL_Rect ink = DrawnAt(10, 10, name, 0, 0);
        EXPECT_GE(ink.w, 12) << name;
        EXPECT_GE(ink.h, 6) << name;
        EXPECT_NE(ColumnsOf(letter), box) << letter;
    }
}

TEST_F(ScriptTest, LettersTypedWithTheirMarksApartDrawAsTheLetters) {
    EXPECT_EQ(ColumnsOf("Mu\u0308ller Cafe\u0301"), ColumnsOf("M\u00FCller Caf\u00E9"));
}

TEST_F(ScriptTest, CutsFallBetweenClusters) {
    EXPECT_EQ(Text_ClusterCut("abcdef", 4), 4u);
    EXPECT_EQ(Text_ClusterCut("abc", 25), 3u);
    // e with two accents: the cut goes back before the letter rather than strip its marks.
    EXPECT_EQ(Text_ClusterCut("abe\u0301\u0302x", 3), 2u);
    EXPECT_EQ(Text_ClusterCut("abe\u0301\u0302x", 5), 5u);
    // A family of three is one emoji: man, ZWJ, woman, ZWJ, girl.
    EXPECT_EQ(Text_ClusterCut("a\U0001F468\u200D\U0001F469\u200D\U0001F467b", 3), 1u);
    // A Devanagari syllable with its vowel sign; Hangul syllables are one character each.
    EXPECT_EQ(Text_ClusterCut("\u0915\u093F\u0915", 1), 0u);
    EXPECT_EQ(Text_ClusterCut("\uD55C\uAD6D\uC5B4", 2), 2u);
}
} // namespace
