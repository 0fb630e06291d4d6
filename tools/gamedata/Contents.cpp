#include "Contents.h"
#include "app/Tool_Wiring.h"

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
#define CONTENTS_SCRIPT(id, name) {#name, id},
#define CONTENTS_NONE(...)
        TOOL_WIRING(CONTENTS_SCRIPT, CONTENTS_NONE, CONTENTS_NONE)};
    return scripts;
}

const std::vector<int>& GlobalInitScripts() {
#define CONTENTS_GLOBAL(id, function) id,
    static const std::vector<int> ids = {TOOL_WIRING(CONTENTS_NONE, CONTENTS_NONE, CONTENTS_GLOBAL)};
    return ids;
}

namespace {
// An object's events as the wiring lists them.
std::vector<Event> EventsOf(const std::string& object) {
    struct Wire {
        const char* object;
        Event event;
    };
    static const Wire wires[] = {
#define CONTENTS_EVENT(id, object, type, subtype, function) {#object, {type, subtype, id}},
        TOOL_WIRING(CONTENTS_NONE, CONTENTS_EVENT, CONTENTS_NONE)};
    std::vector<Event> events;
    for (const Wire& wire : wires)
        if (object == wire.object)
            events.push_back(wire.event);
    return events;
}
#undef CONTENTS_SCRIPT
#undef CONTENTS_NONE
#undef CONTENTS_GLOBAL
#undef CONTENTS_EVENT

Object Described(const char* name, int sprite, bool persistent) {
    return {name, sprite, persistent, EventsOf(name)};
}
} // namespace

const std::vector<Object>& Objects() {
    constexpr int Button = 4, ButtonSmall = 5, ButtonWide = 6;
    static const std::vector<Object> objects = {
        Described("obj_cleanup", -1, true),
        Described("obj_win", 0, false),
        Described("obj_ico", 1, false),
        Described("obj_menu_status", ButtonWide, false),
        Described("obj_menu_import", Button, false),
        Described("obj_menu_export", Button, false),
        Described("obj_menu_replace", Button, false),
        Described("obj_menu_play", ButtonSmall, false),
        Described("obj_menu_about", ButtonSmall, false),
        Described("obj_menu_restore", ButtonSmall, false),
        Described("obj_splash", -1, false),
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
