// A small game data made in the test (texture page encoded here), the scripted platform, and helpers
// that call built-ins by name and run the drawing stage of one frame.
#pragma once
#include "Code/Code_Variable.h"
#include "IO/IO_GameData.h"
#include "platform/scripted/Scripted_Platform.h"
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>

struct CInstance;

// Sprites of the test data.
constexpr int SpriteWhite = 0;             // 8 x 8 opaque white, origin 0, 0
constexpr int SpriteFrames = 1;            // 4 x 4, frames red, green, blue
constexpr int SpriteCropped = 2;           // 10 x 10 frame holding a 4 x 4 white picture at 3, 2; origin 5, 5
constexpr int SpriteShaded = 3;            // 2 x 2 of the colour ShadedPixel
constexpr uint32_t StartColour = 0x0000FF; // "@@DrawColour" of the test data: red

// Glyphs: 'A' 6 wide advancing 7, 'B' 5 wide at bearing 1 advancing 6, U+25B7 8 wide advancing 9,
// ' ' invisible advancing 4; all 16 high and solid white.
constexpr int WindowWidth = 100, WindowHeight = 60;

GameData MakeTestData();
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba);

class GraphicsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Calls a registered built-in with the given arguments.
    RValue Call(const char* name, std::initializer_list<RValue> arguments, CInstance* self = nullptr);
    double Real(const char* name, std::initializer_list<RValue> arguments, CInstance* self = nullptr);
    RValue Variable(const char* name);

    // The drawing stage of a frame: `draw` into the application surface through a one-to-one view,
    // then the surface over the window, then `gui` on the GUI layer.
    void DrawFrame(const std::function<void()>& draw, const std::function<void()>& gui = {});
    // The input update of the next frame.
    void NextInputFrame();

    SDL_Color Pixel(int x, int y) const { return platform->Pixel(x, y); }
    // The bounding box of every pixel that is not black; empty when there is none.
    SDL_Rect InkBounds() const;

    std::unique_ptr<ScriptedPlatform> platform;
};

::testing::AssertionResult ColourIs(SDL_Color actual, int red, int green, int blue, int tolerance = 0);
