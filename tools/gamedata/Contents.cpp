#include "Contents.h"

namespace contents {

const std::vector<Sprite>& Sprites() {
    static const std::vector<Sprite> sprites = {
        {"spr_btn_close", 48, 32, 47, 0, 15},        {"spr_gui_logo", 16, 16, 0, 0, 15},
        {"spr_gui_main_bg", 960, 540, 0, 0, 15},     {"spr_gui_loading", 128, 128, 0, 0, 60},
        {"spr_menu_button", 64, 32, 0, 0, 15},       {"spr_menu_button_small", 32, 32, 0, 0, 15},
        {"spr_menu_button_wide", 256, 32, 0, 0, 15},
    };
    return sprites;
}

const std::vector<Script>& Scripts() {
    static const std::vector<Script> scripts = {
        {"dll_init", 0},        {"cmd", 1},
        {"mouse_region", 2},    {"byte_get_size", 3},
        {"byte_get_format", 4}, {"make_color_hex", 5},
        {"sys_config", 6},
    };
    return scripts;
}

const std::vector<int>& GlobalInitScripts() {
    static const std::vector<int> ids = {50, 51};
    return ids;
}

namespace {
// The menu buttons share one event set; only the code ids differ.
Object MenuButton(const char* name, int sprite, int firstCode) {
    return {name,
            sprite,
            false,
            {{Create, 0, firstCode},
             {Step, 0, firstCode + 1},
             {Draw, 0, firstCode + 2},
             {PreCreate, 0, firstCode + 3}}};
}
} // namespace

const std::vector<Object>& Objects() {
    constexpr int Button = 4, ButtonSmall = 5, ButtonWide = 6;
    static const std::vector<Object> objects = {
        {"obj_cleanup", -1, true, {{Step, BeginStepSubtype, 7}, {CleanUp, 0, 8}, {PreCreate, 0, 9}}},
        {"obj_win",
         0,
         false,
         {{Create, 0, 10}, {Step, 0, 11}, {Draw, 0, 12}, {Draw, DrawGuiSubtype, 13}, {PreCreate, 0, 14}}},
        {"obj_ico",
         1,
         false,
         {{Create, 0, 15}, {Draw, DrawGuiSubtype, 16}, {Draw, 0, 17}, {PreCreate, 0, 18}}},
        {"obj_menu_status", ButtonWide, false, {{Create, 0, 19}, {Draw, 0, 20}, {PreCreate, 0, 21}}},
        MenuButton("obj_menu_import", Button, 22),
        MenuButton("obj_menu_export", Button, 26),
        MenuButton("obj_menu_replace", Button, 30),
        MenuButton("obj_menu_play", ButtonSmall, 34),
        MenuButton("obj_menu_about", ButtonSmall, 38),
        MenuButton("obj_menu_restore", ButtonSmall, 42),
        {"obj_splash", -1, false, {{Create, 0, 46}, {Step, 0, 47}, {Draw, 0, 48}, {PreCreate, 0, 49}}},
    };
    return objects;
}

const std::vector<Instance>& RoomInstances() {
    static const std::vector<Instance> instances = {
        {100000, 0, 368, 176}, {100001, 1, 384, 0},  {100002, 2, 0, 0},     {100003, 10, 0, 176},
        {100004, 3, 64, 64},   {100005, 4, 64, 128}, {100006, 7, 16, 64},   {100007, 5, 160, 128},
        {100008, 6, 256, 128}, {100009, 8, 336, 64}, {100010, 9, 336, 128},
    };
    return instances;
}

const std::vector<std::string>& Strings() {
    static const std::vector<std::string> strings = [] {
        std::vector<std::string> list = {FileName, "default",      GameName,     "@@SleepMargin",
                                         "10",     "@@DrawColour", "4294967295", "audiogroup_default"};
        for (const auto& sprite : Sprites()) {
            list.push_back(sprite.name);
        }
        for (const auto& script : Scripts()) {
            list.push_back(script.name);
        }
        list.insert(list.end(), {FontName, FontFace});
        for (const auto& object : Objects()) {
            list.push_back(object.name);
        }
        list.insert(list.end(), {"", RoomName, "Instances", "Background"});
        return list;
    }();
    return strings;
}

} // namespace contents
