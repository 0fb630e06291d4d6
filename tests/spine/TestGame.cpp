#include "TestGame.h"
#include "Code/Code_Function.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_State.h"
#include <array>

namespace {
struct ObjectTemplate {
    const char* name;
    int sprite;
    bool persistent;
    std::vector<std::pair<std::pair<int, int>, int>> events; // (type, subtype) → code id
};

const std::vector<ObjectTemplate>& Templates() {
    static const std::vector<ObjectTemplate> specs = {
        {"obj_cleanup", -1, true, {{{3, 1}, 7}, {{12, 0}, 8}, {{14, 0}, 9}}},
        {"obj_win", 0, false, {{{0, 0}, 10}, {{3, 0}, 11}, {{8, 0}, 12}, {{8, 64}, 13}, {{14, 0}, 14}}},
        {"obj_ico", 1, false, {{{0, 0}, 15}, {{8, 64}, 16}, {{8, 0}, 17}, {{14, 0}, 18}}},
        {"obj_menu_status", 6, false, {{{0, 0}, 19}, {{8, 0}, 20}, {{14, 0}, 21}}},
        {"obj_menu_import", 4, false, {{{0, 0}, 22}, {{3, 0}, 23}, {{8, 0}, 24}, {{14, 0}, 25}}},
        {"obj_menu_export", 4, false, {{{0, 0}, 26}, {{3, 0}, 27}, {{8, 0}, 28}, {{14, 0}, 29}}},
        {"obj_menu_replace", 4, false, {{{0, 0}, 30}, {{3, 0}, 31}, {{8, 0}, 32}, {{14, 0}, 33}}},
        {"obj_menu_play", 5, false, {{{0, 0}, 34}, {{3, 0}, 35}, {{8, 0}, 36}, {{14, 0}, 37}}},
        {"obj_menu_about", 5, false, {{{0, 0}, 38}, {{3, 0}, 39}, {{8, 0}, 40}, {{14, 0}, 41}}},
        {"obj_menu_restore", 5, false, {{{0, 0}, 42}, {{3, 0}, 43}, {{8, 0}, 44}, {{14, 0}, 45}}},
        {"obj_splash", -1, false, {{{0, 0}, 46}, {{3, 0}, 47}, {{8, 0}, 48}, {{14, 0}, 49}}},
    };
    return specs;
}

std::string EventLabel(int type, int subtype) {
    switch (type) {
    case 0:
        return "Create";
    case 3:
        return subtype == 1 ? "BeginStep" : "Step";
    case 7:
        return "Other_" + std::to_string(subtype);
    case 8:
        return subtype == 64 ? "DrawGUI" : "Draw";
    case 12:
        return "CleanUp";
    case 14:
        return "PreCreate";
    default:
        return "Event_" + std::to_string(type);
    }
}

// Code id → log text, filled from the specs.
std::array<std::string, TestCodeCount>& Labels() {
    static std::array<std::string, TestCodeCount> labels;
    return labels;
}

} // namespace

void SetLabel(int codeId, const std::string& label) {
    Labels()[codeId] = label;
}

namespace {
template <int Id> void Logged(CInstance* self, CInstance*) {
    const std::string& label = Labels()[Id];
    EventLog().push_back(label);
    for (auto& [key, hook] : EventHooks()) {
        if (key == label) {
            hook(self);
        }
    }
}

template <int... Ids>
std::array<CodeTableEntry, sizeof...(Ids)> MakeTable(std::integer_sequence<int, Ids...>) {
    return {CodeTableEntry{"test", Logged<Ids>}...};
}
} // namespace

std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}

std::vector<std::pair<std::string, std::function<void(CInstance*)>>>& EventHooks() {
    static std::vector<std::pair<std::string, std::function<void(CInstance*)>>> hooks;
    return hooks;
}

GameData MakeToolLikeData() {
    SetLabel(50, "GlobalScript_0");
    SetLabel(51, "GlobalScript_1");
    GameData data;
    data.general.versionMajor = 2;
    data.general.gameSpeed = 60;
    data.general.lastObjectId = 100011;
    data.general.roomOrder = {0};
    const int frames[] = {3, 1, 1, 121, 1, 1, 1};
    const float speeds[] = {15, 15, 15, 60, 15, 15, 15};
    for (int i = 0; i < 7; ++i) {
        SpriteData sprite;
        sprite.name = "spr_" + std::to_string(i);
        sprite.width = sprite.height = 32;
        sprite.playbackSpeed = speeds[i];
        sprite.frames.resize(frames[i]);
        data.sprites.push_back(sprite);
    }
    for (const ObjectTemplate& objectTemplate : Templates()) {
        ObjectData object;
        object.name = objectTemplate.name;
        object.spriteIndex = objectTemplate.sprite;
        object.persistent = objectTemplate.persistent;
        for (const auto& [event, codeId] : objectTemplate.events) {
            EventData record;
            record.subtype = event.second;
            record.actions.push_back(ActionData{});
            record.actions.back().codeId = codeId;
            object.events[event.first].push_back(record);
            SetLabel(codeId, std::string(objectTemplate.name) + " " + EventLabel(event.first, event.second));
        }
        data.objects.push_back(object);
    }
    RoomData room;
    room.name = "rm_main";
    room.width = 384;
    room.height = 192;
    room.flags = 1;
    room.views[0] = ViewData{true, 0, 0, 384, 192, 0, 0, 384, 192, 32, 32, 0, 0, -1};
    const int order[][3] = {{0, 368, 176}, {1, 384, 0},  {2, 0, 0},    {10, 0, 176},
                            {3, 64, 64},   {4, 64, 128}, {7, 16, 64},  {5, 160, 128},
                            {6, 256, 128}, {8, 336, 64}, {9, 336, 128}};
    LayerData instances;
    instances.name = "Instances";
    instances.type = LayerType::Instances;
    for (int i = 0; i < 11; ++i) {
        RoomInstanceData record;
        record.objectIndex = order[i][0];
        record.x = order[i][1];
        record.y = order[i][2];
        record.id = 100000 + i;
        room.instances.push_back(record);
        instances.instanceIds.push_back(record.id);
    }
    room.layers.push_back(instances);
    data.rooms.push_back(room);
    return data;
}

const EmbeddedGame& TestGame() {
    static const auto table = MakeTable(std::make_integer_sequence<int, TestCodeCount>{});
    static EmbeddedGame game{nullptr, 0, 35, 35, TestCodeCount, nullptr, 0, nullptr, 0, table.data()};
    return game;
}

void LoadTestGame(GameData& data) {
    EventLog().clear();
    EventHooks().clear();
    Room_Reset();
    SetInstanceSlotCount(35);
    CreateGlobalObject(35);
    Code_Load(TestGame());
    Runner_SetData(&data);
    Object_Prepare(data);
    Room_Prepare(data);
    Object_BuildEventLists();
}
