// The texture page: a 1024 x 2048 RGBA PNG whose pictures are where the items say, and look right.
#include "GameDataTestSupport.h"
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

class TexturePage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const auto& pages = LoadedGame().texturePages;
        ASSERT_EQ(pages.size(), 1u);
        std::string error;
        ASSERT_TRUE(DecodeWholePng(pages[0].png.data(), pages[0].png.size(), page, error)) << error;
    }
    static uint8_t Alpha(int x, int y) {
        return page.pixels[(static_cast<size_t>(y) * page.width + x) * 4 + 3];
    }
    static const uint8_t* Pixel(int x, int y) {
        return &page.pixels[(static_cast<size_t>(y) * page.width + x) * 4];
    }
    // Opaque pixel count and alpha-weighted centroid of an item's source rectangle, in frame coordinates.
    static std::tuple<int, double, double> Coverage(const TexturePageItem& item) {
        int count = 0;
        double weight = 0, sx = 0, sy = 0;
        for (int y = 0; y < item.sourceHeight; ++y) {
            for (int x = 0; x < item.sourceWidth; ++x) {
                const uint8_t a = Alpha(item.sourceX + x, item.sourceY + y);
                count += a > 0;
                weight += a;
                sx += a * (x + item.targetX + 0.5);
                sy += a * (y + item.targetY + 0.5);
            }
        }
        return {count, sx / weight, sy / weight};
    }
    static RgbaImage page;
};
RgbaImage TexturePage::page;

TEST_F(TexturePage, IsOneRgbaPageThatHoldsEveryItem) {
    EXPECT_EQ(page.width, 1024);
    EXPECT_EQ(page.height, 2048);
    for (const SpriteData& sprite : LoadedGame().sprites) {
        for (const TexturePageItem& item : sprite.frames) {
            EXPECT_LE(item.sourceX + item.sourceWidth, page.width) << sprite.name;
            EXPECT_LE(item.sourceY + item.sourceHeight, page.height) << sprite.name;
            EXPECT_GT(std::get<0>(Coverage(item)), 0) << sprite.name << ": empty picture";
        }
    }
}

// White, so the font colour tints it; one smooth turn over its 121 frames.
TEST_F(TexturePage, SpinnerIsWhiteAndMakesOneSmoothTurnOver121Frames) {
    const auto& frames = LoadedGame().sprites.at(3).frames;
    ASSERT_EQ(frames.size(), 121u);
    for (int y = 0; y < frames[0].sourceHeight; ++y) {
        for (int x = 0; x < frames[0].sourceWidth; ++x) {
            const uint8_t* p = Pixel(frames[0].sourceX + x, frames[0].sourceY + y);
            ASSERT_TRUE(p[3] == 0 || p[0] + p[1] + p[2] == 3 * 255) << x << "," << y;
        }
    }
    double previous = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
        // The bright head pulls the centroid away from the centre, towards the angle the frame shows.
        const auto [count, cx, cy] = Coverage(frames[k]);
        const double angle = std::atan2(cy - 64, cx - 64);
        if (k > 0) {
            double step = angle - previous;
            step -= 2 * std::numbers::pi * std::round(step / (2 * std::numbers::pi));
            EXPECT_NEAR(step, 2 * std::numbers::pi / 121, 0.01) << "frame " << k;
        }
        previous = angle;
    }
}

TEST_F(TexturePage, FontGlyphsHaveInkWhereTheyShould) {
    const FontData& font = LoadedGame().fonts.at(0);
    for (const GlyphData& glyph : font.glyphs) {
        int ink = 0;
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                ink += Alpha(font.item.sourceX + glyph.x + x, font.item.sourceY + glyph.y + y) > 0;
            }
        }
        if (glyph.character == ' ') {
            EXPECT_EQ(ink, 0);
        } else {
            EXPECT_GT(ink, 0) << "glyph " << glyph.character;
        }
    }
}

// The panel is drawn after the status line and the buttons: it must only veil them.
TEST_F(TexturePage, PanelBackgroundIsALightVeil) {
    const TexturePageItem& item = LoadedGame().sprites.at(2).frames.at(0);
    double sum = 0, alphaSum = 0;
    for (int y = 0; y < item.sourceHeight; y += 7) {
        for (int x = 0; x < item.sourceWidth; x += 7) {
            const uint8_t* p = Pixel(item.sourceX + x, item.sourceY + y);
            ASSERT_LE(p[3], 80) << "an opaque panel would hide the buttons drawn before it";
            sum += p[0];
            alphaSum += p[3];
        }
    }
    const double samples = (item.sourceHeight / 7 + 1) * (item.sourceWidth / 7 + 1);
    EXPECT_GT(sum / samples, 160) << "multiplied by #112 the panel would turn almost black";
    EXPECT_GT(alphaSum / samples, 20) << "the texture would not show at all";
}

TEST(PngDecoding, RejectsDamagedFiles) {
    const auto& png = LoadedGame().texturePages.at(0).png;
    RgbaImage image;
    std::string error;
    std::vector<uint8_t> damaged(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2));
    EXPECT_FALSE(DecodeWholePng(damaged.data(), damaged.size(), image, error));
    EXPECT_FALSE(error.empty());
    damaged.assign(png.begin(), png.end());
    damaged[1] = 'X';
    EXPECT_FALSE(DecodeWholePng(damaged.data(), damaged.size(), image, error));
    EXPECT_FALSE(DecodeWholePng(nullptr, 0, image, error));
}

} // namespace
