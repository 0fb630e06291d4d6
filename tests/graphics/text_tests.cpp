// Text in the data's font: placement by alignment, measures, UTF-8 glyphs.
#include "graphics_fixture.h"

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
    // An unassigned code point is in no font: it neither draws nor advances.
    EXPECT_EQ(Box(DrawnAt(10, 10, "\u0378A", 0, 0)), (std::array{10, 10, 6, 16}));
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
} // namespace
