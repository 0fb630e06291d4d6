#include "graphics_fixture.h"
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_API.h"
#include "Variable/Variable_BuiltIn.h"
#include <cstdlib>
#include <png.h>

namespace {
constexpr int PageSize = 64;
constexpr int FontTop = 32;

struct Page {
    std::vector<uint8_t> rgba = std::vector<uint8_t>(PageSize * PageSize * 4, 0);
    void Fill(int x, int y, int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        for (int row = y; row < y + height; ++row)
            for (int column = x; column < x + width; ++column) {
                uint8_t* pixel = &rgba[size_t(row * PageSize + column) * 4];
                pixel[0] = r;
                pixel[1] = g;
                pixel[2] = b;
                pixel[3] = a;
            }
    }
};

TexturePageItem Item(int sx, int sy, int sw, int sh, int tx, int ty, int bw, int bh) {
    return TexturePageItem{uint16_t(sx),
                           uint16_t(sy),
                           uint16_t(sw),
                           uint16_t(sh),
                           uint16_t(tx),
                           uint16_t(ty),
                           uint16_t(sw),
                           uint16_t(sh),
                           uint16_t(bw),
                           uint16_t(bh),
                           0};
}

SpriteData Sprite(const char* name, int width, int height, int originX, int originY,
                  std::vector<TexturePageItem> frames) {
    SpriteData sprite;
    sprite.name = name;
    sprite.width = width;
    sprite.height = height;
    sprite.originX = originX;
    sprite.originY = originY;
    sprite.frames = std::move(frames);
    return sprite;
}

GlyphData Glyph(char16_t character, int x, int width, int shift, int offset) {
    return GlyphData{uint16_t(character), uint16_t(x),     0, uint16_t(width), 16,
                     int16_t(shift),      int16_t(offset), {}};
}

void RegisterOnce() {
    static const bool registered = [] {
        Register_Graphics();
        Register_Window();
        Register_Interaction();
        return true;
    }();
    (void)registered;
}
} // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<uint8_t> file(size);
    if (!png_image_write_to_memory(&image, file.data(), &size, 0, rgba.data(), 0, nullptr))
        ADD_FAILURE() << "PNG encoding failed: " << image.message;
    file.resize(size);
    return file;
}

GameData MakeTestData() {
    Page page;
    page.Fill(0, 0, 8, 8, 255, 255, 255);
    page.Fill(8, 0, 4, 4, 255, 0, 0);
    page.Fill(12, 0, 4, 4, 0, 255, 0);
    page.Fill(16, 0, 4, 4, 0, 0, 255);
    page.Fill(20, 0, 4, 4, 255, 255, 255);
    page.Fill(24, 0, 2, 2, 200, 100, 50);
    page.Fill(0, FontTop, 19, 16, 255, 255, 255); // A, B and the triangle are solid blocks

    GameData data;
    data.general.windowWidth = WindowWidth;
    data.general.windowHeight = WindowHeight;
    data.general.infoFlags = 0x4000;
    data.general.displayName = "Test Game";
    data.options.drawColour = 0xFF000000 | StartColour;
    data.texturePages.push_back(TexturePageData{0, 0, EncodePng(PageSize, PageSize, page.rgba)});
    data.sprites.push_back(Sprite("spr_white", 8, 8, 0, 0, {Item(0, 0, 8, 8, 0, 0, 8, 8)}));
    data.sprites.push_back(
        Sprite("spr_frames", 4, 4, 0, 0,
               {Item(8, 0, 4, 4, 0, 0, 4, 4), Item(12, 0, 4, 4, 0, 0, 4, 4), Item(16, 0, 4, 4, 0, 0, 4, 4)}));
    data.sprites.push_back(Sprite("spr_cropped", 10, 10, 5, 5, {Item(20, 0, 4, 4, 3, 2, 10, 10)}));
    data.sprites.push_back(Sprite("spr_shaded", 2, 2, 0, 0, {Item(24, 0, 2, 2, 0, 0, 2, 2)}));

    FontData font;
    font.name = "fnt_test";
    font.size = 9;
    font.item = Item(0, FontTop, 32, 16, 0, 0, 32, 16);
    font.glyphs = {Glyph(u'A', 0, 6, 7, 0), Glyph(u'B', 6, 5, 6, 1), Glyph(u'\u25B7', 11, 8, 9, 0),
                   Glyph(u' ', 24, 1, 4, 0)};
    data.fonts.push_back(font);
    return data;
}

void GraphicsTest::SetUp() {
    RegisterOnce();
    platform = std::make_unique<ScriptedPlatform>();
    SetCurrentPlatform(platform.get());
    const GameData data = MakeTestData();
    ASSERT_TRUE(platform->CreateWindow(Graphics_WindowRequest(data)));
    ASSERT_TRUE(Graphics_Init(data));
}

void GraphicsTest::TearDown() {
    Graphics_Shutdown();
    platform.reset();
    SetCurrentPlatform(nullptr);
}

RValue GraphicsTest::Call(const char* name, std::initializer_list<RValue> arguments, CInstance* self) {
    const int index = Function_Find(name);
    EXPECT_GE(index, 0) << name << " is not registered";
    std::vector<RValue> args(arguments);
    RValue result;
    if (index >= 0)
        Function_Call(self, self, result, int(args.size()), index, args.data());
    return result;
}

double GraphicsTest::Real(const char* name, std::initializer_list<RValue> arguments, CInstance* self) {
    return Call(name, arguments, self).AsReal();
}

RValue GraphicsTest::Variable(const char* name) {
    RValue value;
    Variable_BuiltIn_Get(nullptr, Variable_BuiltIn_Find(name), NoArrayIndex, value);
    return value;
}

void GraphicsTest::DrawFrame(const std::function<void()>& draw, const std::function<void()>& gui) {
    Graphics_BeginFrame();
    ASSERT_TRUE(Graphics_PrepareApplicationSurface());
    Graphics_TargetApplicationSurface();
    const int width = Surface_Width(ApplicationSurfaceId), height = Surface_Height(ApplicationSurfaceId);
    Graphics_SetView(0, 0, width, height, 0, 0, width, height);
    Graphics_Clear(0, true);
    if (draw)
        draw();
    Graphics_TargetBackBuffer();
    Graphics_SetWholeWindowView();
    ASSERT_TRUE(Graphics_SurfaceStackBalanced());
    Graphics_DrawApplicationSurface();
    Graphics_SetGuiView();
    if (gui)
        gui();
    Graphics_EndFrame(true);
}

void GraphicsTest::NextInputFrame() {
    Input_Update();
}

SDL_Rect GraphicsTest::InkBounds() const {
    int left = WindowWidth, top = WindowHeight, right = -1, bottom = -1;
    for (int y = 0; y < WindowHeight; ++y)
        for (int x = 0; x < WindowWidth; ++x) {
            const SDL_Color c = Pixel(x, y);
            if (c.r == 0 && c.g == 0 && c.b == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    if (right < 0)
        return SDL_Rect{0, 0, 0, 0};
    return SDL_Rect{left, top, right - left + 1, bottom - top + 1};
}

::testing::AssertionResult ColourIs(SDL_Color actual, int red, int green, int blue, int tolerance) {
    if (std::abs(actual.r - red) <= tolerance && std::abs(actual.g - green) <= tolerance &&
        std::abs(actual.b - blue) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "colour is (" << int(actual.r) << ", " << int(actual.g) << ", " << int(actual.b)
           << "), expected (" << red << ", " << green << ", " << blue << ")";
}
