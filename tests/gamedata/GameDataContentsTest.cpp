// The tool's data read back by the loader: what the runtime and the tool rely on. (The objects and
// the room's instances are exercised by the scenarios, which run the real tool on this data.)
#include "GameDataTestSupport.h"
#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(GameDataContents, GeneralOptionsScriptsAndLayers) {
    const GameData& game = LoadedGame();
    const GeneralInfo& g = game.general;
    EXPECT_EQ(g.gameName, "Morvane_Radio_Tuner");
    EXPECT_EQ(g.displayName, "Morvane Radio Tuner");
    EXPECT_EQ(std::tie(g.versionMajor, g.windowWidth, g.windowHeight), std::make_tuple(2, 384, 192));
    EXPECT_EQ(g.infoFlags, 0x6028u);
    EXPECT_EQ(g.roomOrder, std::vector<int>{0});
    EXPECT_EQ(g.gameSpeed, 60.0f);
    EXPECT_EQ(game.options.sleepMargin, 10);
    EXPECT_EQ(game.options.drawColour, 0xFFFFFFFFu);

    std::vector<std::pair<std::string, int>> scripts;
    for (const ScriptData& script : game.scripts) {
        scripts.emplace_back(script.name, script.codeId);
    }
    const std::vector<std::pair<std::string, int>> expected = {{"dll_init", 0},        {"cmd", 1},
                                                               {"mouse_region", 2},    {"byte_get_size", 3},
                                                               {"byte_get_format", 4}, {"make_color_hex", 5},
                                                               {"sys_config", 6}};
    EXPECT_EQ(scripts, expected);
    EXPECT_EQ(game.globalInitScripts, (std::vector<int>{50, 51}));

    const auto& layers = game.rooms.at(0).layers;
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(std::tie(layers[0].name, layers[0].type, layers[0].depth),
              std::make_tuple("Instances", LayerType::Instances, 0));
    EXPECT_EQ(std::tie(layers[1].name, layers[1].type, layers[1].depth, layers[1].colour),
              std::make_tuple("Background", LayerType::Background, 100, 0xFF221111u));
}

TEST(GameDataContents, SpritesAndTheirFrames) {
    struct Expected {
        const char* name;
        int width, height, originX;
        size_t frames;
        float speed;
    };
    const Expected expected[] = {
        {"spr_btn_close", 48, 32, 47, 3, 15},        {"spr_gui_logo", 16, 16, 0, 1, 15},
        {"spr_gui_main_bg", 960, 540, 0, 1, 15},     {"spr_gui_loading", 128, 128, 0, 121, 60},
        {"spr_menu_button", 64, 32, 0, 1, 15},       {"spr_menu_button_small", 32, 32, 0, 1, 15},
        {"spr_menu_button_wide", 256, 32, 0, 1, 15},
    };
    const auto& sprites = LoadedGame().sprites;
    ASSERT_EQ(sprites.size(), std::size(expected));
    for (size_t i = 0; i < sprites.size(); ++i) {
        const SpriteData& s = sprites[i];
        const Expected& e = expected[i];
        EXPECT_EQ(std::tie(s.name, s.width, s.height, s.originX, s.originY, s.playbackSpeed),
                  std::make_tuple(e.name, e.width, e.height, e.originX, 0, e.speed));
        ASSERT_EQ(s.frames.size(), e.frames) << e.name;
        for (const TexturePageItem& frame : s.frames) {
            EXPECT_LE(frame.targetX + frame.targetWidth, e.width) << e.name;
            EXPECT_LE(frame.targetY + frame.targetHeight, e.height) << e.name;
        }
    }
    // The idle close button is only its 10 x 10 glyph at (19, 11); hover and pressed fill the frame.
    const auto& close = sprites[0].frames;
    EXPECT_EQ(std::tie(close[0].targetX, close[0].targetY, close[0].targetWidth, close[0].targetHeight),
              std::make_tuple(19, 11, 10, 10));
    EXPECT_EQ(std::tie(close[2].targetX, close[2].targetY, close[2].targetWidth, close[2].targetHeight),
              std::make_tuple(0, 0, 48, 32));
}

TEST(GameDataContents, FontHoldsAsciiAndThePlayTriangle) {
    const FontData& font = LoadedGame().fonts.at(0);
    EXPECT_EQ(std::tie(font.name, font.faceName, font.size), std::make_tuple("fnt_open_9", "Open Sans", 9));
    std::vector<uint16_t> characters, expected;
    for (const GlyphData& glyph : font.glyphs) {
        characters.push_back(glyph.character);
        EXPECT_GT(glyph.shift, 0) << glyph.character;
    }
    for (uint16_t c = 32; c <= 126; ++c) {
        expected.push_back(c);
    }
    expected.push_back(0x25B7);
    EXPECT_EQ(characters, expected);
}

} // namespace
