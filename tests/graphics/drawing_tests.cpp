// Rectangles and sprites, read back from the rendered window.
#include "Graphics_API/Graphics_API.h"
#include "Object/Object_Class.h"
#include "graphics_fixture.h"

namespace {
constexpr double Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF;

class DrawingTest : public GraphicsTest {};

TEST_F(DrawingTest, OutlineCoversExactlyTheEdgePixelsBothCornersIncluded) {
    DrawFrame([&] {
        Call("draw_set_colour", {Red});
        Call("draw_rectangle", {10.0, 5.0, 20.0, 15.0, 1.0});
    });
    for (auto [x, y] : {std::pair{10, 5}, {20, 5}, {10, 15}, {20, 15}, {15, 5}, {15, 15}, {10, 10}, {20, 10}})
        EXPECT_TRUE(ColourIs(Pixel(x, y), 255, 0, 0)) << x << "," << y;
    for (auto [x, y] : {std::pair{15, 10}, {11, 6}, {19, 14}, {9, 5}, {21, 5}, {10, 4}, {10, 16}, {21, 15}})
        EXPECT_TRUE(ColourIs(Pixel(x, y), 0, 0, 0)) << x << "," << y;
}

TEST_F(DrawingTest, FilledRectangleIncludesBothCornersAndAcceptsReversedOrFractionalCorners) {
    DrawFrame([&] {
        Call("draw_set_colour", {Green});
        Call("draw_rectangle", {20.0, 15.0, 10.0, 5.0, 0.0});
        // The volume bar's form: a fractional right corner rounds to the nearest pixel.
        Call("draw_rectangle", {30.0, 30.0, 37.4, 30.0, 0.0});
        Call("draw_rectangle", {30.0, 31.0, 37.6, 31.0, 0.0});
    });
    for (auto [x, y] : {std::pair{10, 5}, {20, 15}, {15, 10}, {30, 30}, {37, 30}, {38, 31}})
        EXPECT_TRUE(ColourIs(Pixel(x, y), 0, 255, 0)) << x << "," << y;
    for (auto [x, y] : {std::pair{9, 10}, {21, 10}, {15, 4}, {15, 16}, {38, 30}, {39, 31}, {30, 32}})
        EXPECT_TRUE(ColourIs(Pixel(x, y), 0, 0, 0)) << x << "," << y;
}

TEST_F(DrawingTest, TranslucentOutlineBlendsEveryPixelOnce) {
    DrawFrame([&] {
        Call("draw_set_colour", {White});
        Call("draw_set_alpha", {0.5});
        Call("draw_rectangle", {10.0, 10.0, 30.0, 20.0, 1.0});
    });
    const SDL_Color edge = Pixel(20, 10);
    EXPECT_TRUE(ColourIs(edge, 128, 128, 128, 1));
    for (auto [x, y] : {std::pair{10, 10}, {30, 10}, {10, 20}, {30, 20}})
        EXPECT_TRUE(ColourIs(Pixel(x, y), edge.r, edge.g, edge.b)) << x << "," << y;
}

TEST_F(DrawingTest, SpriteColourMultipliesThePicture) {
    DrawFrame([&] {
        // The panel's colour #112 on a white picture gives exactly that colour.
        Call("draw_sprite_ext", {double(SpriteWhite), 0.0, 0.0, 0.0, 1.0, 1.0, 0.0, double(0x221111), 1.0});
        // (200, 100, 50) times (128, 255, 0) / 255.
        Call("draw_sprite_ext", {double(SpriteShaded), 0.0, 20.0, 0.0, 1.0, 1.0, 0.0, double(0x00FF80), 1.0});
    });
    EXPECT_TRUE(ColourIs(Pixel(3, 3), 0x11, 0x11, 0x22));
    EXPECT_TRUE(ColourIs(Pixel(21, 1), 100, 100, 0, 1));
}

TEST_F(DrawingTest, SpriteAlphaBlendsOverWhatIsBelow) {
    DrawFrame([&] {
        Call("draw_set_colour", {Blue});
        Call("draw_rectangle", {0.0, 0.0, 20.0, 20.0, 0.0});
        Call("draw_sprite_ext", {double(SpriteWhite), 0.0, 4.0, 4.0, 1.0, 1.0, 0.0, White, 0.5});
        // draw_sprite takes the draw alpha, not the draw colour.
        Call("draw_set_alpha", {0.25});
        Call("draw_sprite", {double(SpriteWhite), 0.0, 40.0, 4.0});
    });
    EXPECT_TRUE(ColourIs(Pixel(6, 6), 128, 128, 255, 1));
    EXPECT_TRUE(ColourIs(Pixel(2, 2), 0, 0, 255));
    EXPECT_TRUE(ColourIs(Pixel(42, 6), 64, 64, 64, 1));
}

TEST_F(DrawingTest, FrameNumbersWrapAndNegativeMeansTheInstancesFrame) {
    CInstance self;
    self.imageIndex = 2.6f;
    DrawFrame([&] {
        Call("draw_sprite", {double(SpriteFrames), 4.0, 0.0, 0.0});          // 4 mod 3 = 1
        Call("draw_sprite", {double(SpriteFrames), 3.0, 10.0, 0.0});         // 0
        Call("draw_sprite", {double(SpriteFrames), -1.0, 20.0, 0.0}, &self); // image_index 2
        Call("draw_sprite", {double(SpriteWhite), 1.0, 30.0, 0.0});          // one frame: frame 1 is frame 0
    });
    EXPECT_TRUE(ColourIs(Pixel(1, 1), 0, 255, 0));
    EXPECT_TRUE(ColourIs(Pixel(11, 1), 255, 0, 0));
    EXPECT_TRUE(ColourIs(Pixel(21, 1), 0, 0, 255));
    EXPECT_TRUE(ColourIs(Pixel(31, 1), 255, 255, 255));
}

TEST_F(DrawingTest, CroppedFrameLandsAtItsTargetOffsetMinusTheOrigin) {
    DrawFrame([&] { Call("draw_sprite", {double(SpriteCropped), 0.0, 30.0, 30.0}); });
    // Picture at (3, 2) in the frame, origin (5, 5): x 28-31, y 27-30.
    EXPECT_EQ(InkBounds().x, 28);
    EXPECT_EQ(InkBounds().y, 27);
    EXPECT_EQ(InkBounds().w, 4);
    EXPECT_EQ(InkBounds().h, 4);
}

TEST_F(DrawingTest, ScaleMirrorAndRotationMoveThePictureAroundTheOrigin) {
    auto boundsOf = [&](double xscale, double yscale, double angle) {
        DrawFrame([&] {
            Call("draw_sprite_ext",
                 {double(SpriteWhite), 0.0, 40.0, 30.0, xscale, yscale, angle, White, 1.0});
        });
        return InkBounds();
    };
    SDL_Rect wide = boundsOf(2, 1, 0);
    EXPECT_EQ((std::array{wide.x, wide.y, wide.w, wide.h}), (std::array{40, 30, 16, 8}));
    SDL_Rect mirrored = boundsOf(-1, 1, 0);
    EXPECT_EQ((std::array{mirrored.x, mirrored.y, mirrored.w, mirrored.h}), (std::array{32, 30, 8, 8}));
    // Anticlockwise by 90 degrees: the square now lies above the origin.
    SDL_Rect turned = boundsOf(1, 1, 90);
    EXPECT_NEAR(turned.x, 40, 1);
    EXPECT_NEAR(turned.y, 22, 1);
    EXPECT_NEAR(turned.w, 8, 1);
    EXPECT_NEAR(turned.h, 8, 1);
}

TEST_F(DrawingTest, StretchedSpriteFillsTheRectangleIgnoringTheOrigin) {
    DrawFrame([&] {
        Call("draw_sprite_stretched_ext",
             {double(SpriteWhite), 1.0, 5.0, 6.0, 30.0, 10.0, double(0x221111), 1.0});
        Call("draw_sprite_stretched_ext", {double(SpriteCropped), 0.0, 50.0, 0.0, 20.0, 20.0, White, 1.0});
    });
    EXPECT_TRUE(ColourIs(Pixel(5, 6), 0x11, 0x11, 0x22));
    EXPECT_TRUE(ColourIs(Pixel(34, 15), 0x11, 0x11, 0x22));
    EXPECT_TRUE(ColourIs(Pixel(35, 15), 0, 0, 0));
    EXPECT_TRUE(ColourIs(Pixel(34, 16), 0, 0, 0));
    // The cropped picture doubles with its frame: (3, 2) 4 x 4 becomes (56, 4) 8 x 8.
    EXPECT_TRUE(ColourIs(Pixel(56, 4), 255, 255, 255));
    EXPECT_TRUE(ColourIs(Pixel(63, 11), 255, 255, 255));
    EXPECT_TRUE(ColourIs(Pixel(55, 4), 0, 0, 0));
    EXPECT_TRUE(ColourIs(Pixel(64, 11), 0, 0, 0));
}

TEST_F(DrawingTest, DrawSelfUsesTheInstancesSpriteFramePositionBlendAndAlpha) {
    CInstance self;
    self.spriteIndex = SpriteFrames;
    self.imageIndex = 5; // wraps to 2: blue
    self.x = 12;
    self.y = 7;
    self.imageXScale = 2;
    self.imageBlend = 0x00FFFF; // yellow keeps red and green only
    self.imageAlpha = 1;
    DrawFrame([&] { Call("draw_self", {}, &self); });
    EXPECT_TRUE(ColourIs(Pixel(13, 8), 0, 0, 0)); // blue times yellow is black
    self.imageIndex = 0;                          // red
    self.imageAlpha = 0.5;
    DrawFrame([&] { Call("draw_self", {}, &self); });
    EXPECT_TRUE(ColourIs(Pixel(19, 10), 128, 0, 0, 1));
    EXPECT_TRUE(ColourIs(Pixel(20, 10), 0, 0, 0));
}

TEST_F(DrawingTest, DrawStateSurvivesIntoTheNextFrameUntilReset) {
    DrawFrame([&] {
        Call("draw_set_colour", {Green});
        Call("draw_set_alpha", {0.5});
        Call("draw_set_halign", {1.0});
    });
    DrawFrame([&] { Call("draw_rectangle", {0.0, 0.0, 9.0, 9.0, 0.0}); });
    EXPECT_TRUE(ColourIs(Pixel(5, 5), 0, 128, 0, 1));
    Graphics_ResetDrawState(); // a new game: "@@DrawColour", alpha 1
    DrawFrame([&] { Call("draw_rectangle", {0.0, 0.0, 9.0, 9.0, 0.0}); });
    EXPECT_TRUE(ColourIs(Pixel(5, 5), 255, 0, 0));
}

TEST_F(DrawingTest, SpriteWidthOfKnownAndUnknownSprites) {
    EXPECT_EQ(Real("sprite_get_width", {double(SpriteCropped)}), 10);
    EXPECT_EQ(Real("sprite_get_width", {99.0}), -1);
    DrawFrame([&] { Call("draw_sprite", {99.0, 0.0, 0.0, 0.0}); }); // draws nothing, fails nothing
    EXPECT_EQ(InkBounds().w, 0);
}
} // namespace
