#include "TestGame.h"
#include "Code/Code_Function.h"
#include "IO/IO_Main.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_State.h"
#include "data/GameDataBlob.h"
#include <array>
#include <gtest/gtest.h>

namespace {
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
    std::string error;
    EXPECT_TRUE(IO_LoadGame(kGameData, kGameDataSize, data, error)) << error;
    for (const ObjectData& object : data.objects) {
        for (int type = 0; type < EventTypeCount; ++type) {
            for (const EventData& event : object.events[type]) {
                SetLabel(event.actions.at(0).codeId, object.name + " " + EventLabel(type, event.subtype));
            }
        }
    }
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
