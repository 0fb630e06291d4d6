// The tool's data read back by the loader reproduces the contents tables of the data file.
#include "GameDataTestSupport.h"
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr int Create = 0, Step = 3, Draw = 8, CleanUp = 12, PreCreate = 14;

// (type, subtype) -> code id of the object's single action per event.
using EventTable = std::map<std::pair<int, int>, int>;

EventTable EventsOf(const ObjectData& object) {
    EventTable table;
    for (int type = 0; type < EventTypeCount; ++type) {
        for (const EventData& event : object.events[type]) {
            EXPECT_EQ(event.actions.size(), 1u) << object.name;
            const ActionData& action = event.actions.at(0);
            EXPECT_EQ(
                std::tie(action.libraryId, action.actionId, action.kind, action.executionType, action.who),
                std::make_tuple(1u, 603u, 7u, 2u, -1))
                << object.name;
            table[{type, event.subtype}] = action.codeId;
        }
    }
    return table;
}

TEST(GameDataContents, GeneralAndOptions) {
    const GameData& game = LoadedGame();
    const GeneralInfo& g = game.general;
    EXPECT_TRUE(g.debuggerDisabled);
    EXPECT_EQ(g.formatVersion, 16);
    EXPECT_EQ(g.fileName, "Morvane Radio Tuner");
    EXPECT_EQ(g.configName, "default");
    EXPECT_EQ(g.gameName, "Morvane_Radio_Tuner");
    EXPECT_EQ(g.displayName, "Morvane Radio Tuner");
    EXPECT_EQ(g.lastObjectId, 100011u);
    EXPECT_EQ(g.lastTileId, 10000000u);
    EXPECT_EQ(std::tie(g.versionMajor, g.versionMinor, g.versionRelease, g.versionBuild),
              std::make_tuple(2, 0, 0, 0));
    EXPECT_EQ(std::tie(g.windowWidth, g.windowHeight), std::make_tuple(384, 192));
    EXPECT_EQ(g.infoFlags, 0x6028u);
    EXPECT_EQ(g.buildTime, 1521336146u);
    EXPECT_EQ(g.functionClassifications, 0x0040B2AD4F843420);
    EXPECT_EQ(g.debuggerPort, 51268u);
    EXPECT_EQ(g.roomOrder, std::vector<int>{0});
    EXPECT_EQ(g.gameSpeed, 60.0f);

    EXPECT_EQ(game.options.flags, 0x480016u);
    const std::vector<std::pair<std::string, std::string>> constants = {{"@@SleepMargin", "10"},
                                                                        {"@@DrawColour", "4294967295"}};
    EXPECT_EQ(game.options.constants, constants);
    EXPECT_EQ(game.options.sleepMargin, 10);
    EXPECT_EQ(game.options.drawColour, 0xFFFFFFFFu);
    EXPECT_EQ(game.audioGroups, std::vector<std::string>{"audiogroup_default"});
}

TEST(GameDataContents, SpritesFramesAndMasks) {
    struct Expected {
        const char* name;
        int width, height, originX, originY;
        size_t frames;
        float speed;
    };
    const Expected expected[] = {
        {"spr_btn_close", 48, 32, 47, 0, 3, 15},        {"spr_gui_logo", 16, 16, 0, 0, 1, 15},
        {"spr_gui_main_bg", 960, 540, 0, 0, 1, 15},     {"spr_gui_loading", 128, 128, 0, 0, 121, 60},
        {"spr_menu_button", 64, 32, 0, 0, 1, 15},       {"spr_menu_button_small", 32, 32, 0, 0, 1, 15},
        {"spr_menu_button_wide", 256, 32, 0, 0, 1, 15},
    };
    const auto& sprites = LoadedGame().sprites;
    ASSERT_EQ(sprites.size(), std::size(expected));
    for (size_t i = 0; i < sprites.size(); ++i) {
        const SpriteData& s = sprites[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(s.name, e.name);
        EXPECT_EQ(std::tie(s.width, s.height, s.originX, s.originY),
                  std::tie(e.width, e.height, e.originX, e.originY));
        EXPECT_EQ(std::tie(s.bboxLeft, s.bboxRight, s.bboxBottom, s.bboxTop),
                  std::make_tuple(0, e.width - 1, e.height - 1, 0));
        EXPECT_FALSE(s.smooth);
        EXPECT_EQ(s.playbackSpeed, e.speed);
        EXPECT_EQ(s.playbackSpeedType, 0);
        ASSERT_EQ(s.frames.size(), e.frames);
        ASSERT_EQ(s.masks.size(), 1u);
        EXPECT_EQ(s.masks[0].size(), static_cast<size_t>((e.width + 7) / 8 * e.height));
        for (const TexturePageItem& frame : s.frames) {
            EXPECT_EQ(std::tie(frame.boundingWidth, frame.boundingHeight),
                      std::make_tuple(e.width, e.height));
            EXPECT_LE(frame.targetX + frame.targetWidth, e.width);
            EXPECT_LE(frame.targetY + frame.targetHeight, e.height);
            EXPECT_EQ(std::tie(frame.sourceWidth, frame.sourceHeight),
                      std::tie(frame.targetWidth, frame.targetHeight));
            EXPECT_EQ(frame.page, 0);
        }
    }
    // The idle close button is only its 10 x 10 glyph at (19, 11); hover and pressed fill the frame.
    const TexturePageItem& idle = sprites[0].frames[0];
    EXPECT_EQ(std::tie(idle.targetX, idle.targetY, idle.targetWidth, idle.targetHeight),
              std::make_tuple(19, 11, 10, 10));
    for (int f : {1, 2}) {
        const TexturePageItem& full = sprites[0].frames[f];
        EXPECT_EQ(std::tie(full.targetX, full.targetY, full.targetWidth, full.targetHeight),
                  std::make_tuple(0, 0, 48, 32));
    }
}

TEST(GameDataContents, FontHoldsAsciiAndThePlayTriangle) {
    const auto& fonts = LoadedGame().fonts;
    ASSERT_EQ(fonts.size(), 1u);
    const FontData& font = fonts[0];
    EXPECT_EQ(font.name, "fnt_open_9");
    EXPECT_EQ(font.faceName, "Open Sans");
    EXPECT_EQ(font.size, 9);
    EXPECT_FALSE(font.bold);
    EXPECT_FALSE(font.italic);
    EXPECT_EQ(font.antialiasing, 1);
    EXPECT_EQ(font.firstCharacter, 32);
    EXPECT_EQ(std::tie(font.item.sourceWidth, font.item.sourceHeight), std::make_tuple(256, 128));
    ASSERT_EQ(font.glyphs.size(), 96u);
    std::vector<uint16_t> characters;
    for (const GlyphData& glyph : font.glyphs) {
        characters.push_back(glyph.character);
        EXPECT_EQ(glyph.height, 16);
        EXPECT_TRUE(glyph.kerning.empty());
        EXPECT_LE(glyph.x + glyph.width, 256) << glyph.character;
        EXPECT_LE(glyph.y + glyph.height, 128) << glyph.character;
        EXPECT_GT(glyph.shift, 0) << glyph.character;
    }
    std::vector<uint16_t> expected;
    for (uint16_t c = 32; c <= 126; ++c) {
        expected.push_back(c);
    }
    expected.push_back(0x25B7);
    EXPECT_EQ(characters, expected);
}

TEST(GameDataContents, ScriptsAndGlobalInitScripts) {
    const GameData& game = LoadedGame();
    const std::vector<std::pair<std::string, int>> expected = {{"dll_init", 0},        {"cmd", 1},
                                                               {"mouse_region", 2},    {"byte_get_size", 3},
                                                               {"byte_get_format", 4}, {"make_color_hex", 5},
                                                               {"sys_config", 6}};
    std::vector<std::pair<std::string, int>> scripts;
    for (const ScriptData& script : game.scripts) {
        scripts.emplace_back(script.name, script.codeId);
    }
    EXPECT_EQ(scripts, expected);
    EXPECT_EQ(game.globalInitScripts, (std::vector<int>{50, 51}));
}

TEST(GameDataContents, ObjectsAndTheirEventCode) {
    struct Expected {
        const char* name;
        int sprite;
        bool persistent;
        EventTable events;
    };
    auto button = [](const char* name, int sprite, int first) {
        return Expected{name,
                        sprite,
                        false,
                        {{{Create, 0}, first},
                         {{Step, 0}, first + 1},
                         {{Draw, 0}, first + 2},
                         {{PreCreate, 0}, first + 3}}};
    };
    const Expected expected[] = {
        {"obj_cleanup", -1, true, {{{Step, 1}, 7}, {{CleanUp, 0}, 8}, {{PreCreate, 0}, 9}}},
        {"obj_win",
         0,
         false,
         {{{Create, 0}, 10}, {{Step, 0}, 11}, {{Draw, 0}, 12}, {{Draw, 64}, 13}, {{PreCreate, 0}, 14}}},
        {"obj_ico", 1, false, {{{Create, 0}, 15}, {{Draw, 64}, 16}, {{Draw, 0}, 17}, {{PreCreate, 0}, 18}}},
        {"obj_menu_status", 6, false, {{{Create, 0}, 19}, {{Draw, 0}, 20}, {{PreCreate, 0}, 21}}},
        button("obj_menu_import", 4, 22),
        button("obj_menu_export", 4, 26),
        button("obj_menu_replace", 4, 30),
        button("obj_menu_play", 5, 34),
        button("obj_menu_about", 5, 38),
        button("obj_menu_restore", 5, 42),
        {"obj_splash",
         -1,
         false,
         {{{Create, 0}, 46}, {{Step, 0}, 47}, {{Draw, 0}, 48}, {{PreCreate, 0}, 49}}},
    };
    const auto& objects = LoadedGame().objects;
    ASSERT_EQ(objects.size(), std::size(expected));
    for (size_t i = 0; i < objects.size(); ++i) {
        const ObjectData& o = objects[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(o.name, expected[i].name);
        EXPECT_EQ(o.spriteIndex, expected[i].sprite);
        EXPECT_EQ(o.persistent, expected[i].persistent);
        EXPECT_TRUE(o.visible);
        EXPECT_FALSE(o.solid);
        EXPECT_EQ(std::tie(o.depth, o.parentIndex, o.maskIndex), std::make_tuple(0, -100, -1));
        EXPECT_EQ(EventsOf(o), expected[i].events);
        // PreCreate actions carry the empty name string, the others none.
        EXPECT_EQ(o.events[PreCreate].at(0).actions.at(0).name, "");
    }
}

TEST(GameDataContents, RoomInstancesViewsAndLayers) {
    const auto& rooms = LoadedGame().rooms;
    ASSERT_EQ(rooms.size(), 1u);
    const RoomData& room = rooms[0];
    EXPECT_EQ(room.name, "rm_main");
    EXPECT_EQ(std::tie(room.width, room.height, room.speed), std::make_tuple(384, 192, 0));
    EXPECT_FALSE(room.persistent);
    EXPECT_FALSE(room.drawBackgroundColour);
    EXPECT_EQ(room.creationCode, -1);
    EXPECT_EQ(room.flags & 1u, 1u);
    EXPECT_EQ(std::tie(room.gravityX, room.gravityY, room.metersPerPixel),
              std::make_tuple(0.0f, 10.0f, 0.1f));

    const ViewData& view = room.views[0];
    EXPECT_TRUE(view.enabled);
    EXPECT_EQ(std::tie(view.viewX, view.viewY, view.viewWidth, view.viewHeight),
              std::make_tuple(0, 0, 384, 192));
    EXPECT_EQ(std::tie(view.portX, view.portY, view.portWidth, view.portHeight),
              std::make_tuple(0, 0, 384, 192));
    EXPECT_EQ(std::tie(view.borderX, view.borderY, view.followObject), std::make_tuple(32, 32, -1));
    for (int v = 1; v < 8; ++v) {
        EXPECT_FALSE(room.views[v].enabled) << v;
    }

    // (id, object index, x, y) in creation order.
    const std::vector<std::tuple<int, int, int, int>> expected = {
        {100000, 0, 368, 176}, {100001, 1, 384, 0},  {100002, 2, 0, 0},    {100003, 10, 0, 176},
        {100004, 3, 64, 64},   {100005, 4, 64, 128}, {100006, 7, 16, 64},  {100007, 5, 160, 128},
        {100008, 6, 256, 128}, {100009, 8, 336, 64}, {100010, 9, 336, 128}};
    std::vector<std::tuple<int, int, int, int>> instances;
    std::vector<int> ids;
    for (const RoomInstanceData& i : room.instances) {
        instances.emplace_back(i.id, i.objectIndex, i.x, i.y);
        ids.push_back(i.id);
        EXPECT_EQ(std::tie(i.scaleX, i.scaleY, i.rotation), std::make_tuple(1.0f, 1.0f, 0.0f));
        EXPECT_EQ(i.colour, 0xFFFFFFFFu);
        EXPECT_EQ(std::tie(i.creationCode, i.preCreateCode), std::make_tuple(-1, -1));
    }
    EXPECT_EQ(instances, expected);

    ASSERT_EQ(room.layers.size(), 2u);
    const LayerData& instancesLayer = room.layers[0];
    EXPECT_EQ(instancesLayer.name, "Instances");
    EXPECT_EQ(std::tie(instancesLayer.id, instancesLayer.type, instancesLayer.depth),
              std::make_tuple(0, LayerType::Instances, 0));
    EXPECT_TRUE(instancesLayer.visible);
    EXPECT_EQ(instancesLayer.instanceIds, ids);
    const LayerData& background = room.layers[1];
    EXPECT_EQ(background.name, "Background");
    EXPECT_EQ(std::tie(background.id, background.type, background.depth),
              std::make_tuple(1, LayerType::Background, 100));
    EXPECT_TRUE(background.visible);
    EXPECT_TRUE(background.backgroundVisible);
    EXPECT_EQ(background.spriteIndex, -1);
    EXPECT_EQ(background.colour, 0xFF221111u);
    EXPECT_EQ(background.animationSpeed, 15.0f);
}

TEST(GameDataContents, TheThirtyNineStrings) {
    const std::vector<std::string> expected = {"Morvane Radio Tuner",
                                               "default",
                                               "Morvane_Radio_Tuner",
                                               "@@SleepMargin",
                                               "10",
                                               "@@DrawColour",
                                               "4294967295",
                                               "audiogroup_default",
                                               "spr_btn_close",
                                               "spr_gui_logo",
                                               "spr_gui_main_bg",
                                               "spr_gui_loading",
                                               "spr_menu_button",
                                               "spr_menu_button_small",
                                               "spr_menu_button_wide",
                                               "dll_init",
                                               "cmd",
                                               "mouse_region",
                                               "byte_get_size",
                                               "byte_get_format",
                                               "make_color_hex",
                                               "sys_config",
                                               "fnt_open_9",
                                               "Open Sans",
                                               "obj_cleanup",
                                               "obj_win",
                                               "obj_ico",
                                               "obj_menu_status",
                                               "obj_menu_import",
                                               "obj_menu_export",
                                               "obj_menu_replace",
                                               "obj_menu_play",
                                               "obj_menu_about",
                                               "obj_menu_restore",
                                               "obj_splash",
                                               "",
                                               "rm_main",
                                               "Instances",
                                               "Background"};
    EXPECT_EQ(LoadedGame().strings, expected);
}

} // namespace
