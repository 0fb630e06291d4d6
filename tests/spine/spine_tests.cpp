#include "Code/Code_Error.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Layers.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Loop.h"
#include "TestGame.h"
#include <gtest/gtest.h>

namespace {
using Log = std::vector<std::string>;

class Spine : public ::testing::Test {
  protected:
    void SetUp() override {
        Runner_SetLogToStderr(false);
        data_ = MakeToolLikeData();
    }
    void Start() {
        LoadTestGame(data_);
        Room_Start(0, true);
        EventLog().clear();
    }
    void AddEvent(int objectIndex, int type, int subtype, int codeId, const std::string& label) {
        EventData event;
        event.subtype = subtype;
        event.actions.push_back(ActionData{});
        event.actions.back().codeId = codeId;
        data_.objects[objectIndex].events[type].push_back(event);
        SetLabel(codeId, label);
    }
    Log Only(const std::string& suffix) {
        Log result;
        for (const std::string& line : EventLog()) {
            if (line.ends_with(suffix)) {
                result.push_back(line);
            }
        }
        return result;
    }
    GameData data_;
};
} // namespace

TEST_F(Spine, InstancesGetPreCreateThenCreateOneAfterAnotherInRoomOrder) {
    LoadTestGame(data_);
    Room_Start(0, true);
    Log expected = {"obj_cleanup PreCreate"}; // it has no Create event
    for (const char* name :
         {"obj_win", "obj_ico", "obj_splash", "obj_menu_status", "obj_menu_import", "obj_menu_play",
          "obj_menu_export", "obj_menu_replace", "obj_menu_about", "obj_menu_restore"}) {
        expected.push_back(std::string(name) + " PreCreate");
        expected.push_back(std::string(name) + " Create");
    }
    EXPECT_EQ(expected, EventLog());
}

TEST_F(Spine, StepDispatchRunsByAscendingObjectIndex) {
    Start();
    Room_DispatchStep(1);
    EXPECT_EQ(Log{"obj_cleanup BeginStep"}, EventLog());
    EventLog().clear();
    Room_DispatchStep(0);
    Log expected = {"obj_win Step",          "obj_menu_import Step", "obj_menu_export Step",
                    "obj_menu_replace Step", "obj_menu_play Step",   "obj_menu_about Step",
                    "obj_menu_restore Step", "obj_splash Step"};
    EXPECT_EQ(expected, EventLog());
}

TEST_F(Spine, AnInstanceCreatedDuringADispatchWaitsForTheNextOne) {
    Start();
    int created = 0;
    EventHooks().push_back({"obj_win Step", [&](CInstance*) {
                                if (created++ == 0) {
                                    Instance_Create(8, 0, 0, 0);
                                }
                            }});
    Room_DispatchStep(0);
    EXPECT_EQ(1u, Only("obj_menu_about Step").size());
    EventLog().clear();
    Room_DispatchStep(0);
    EXPECT_EQ(2u, Only("obj_menu_about Step").size());
}

TEST_F(Spine, DrawingWalksTheInstancesLayerInReverseRoomOrder) {
    Start();
    Room_DrawLayers();
    Log expected = {"obj_menu_restore Draw", "obj_menu_about Draw", "obj_menu_replace Draw",
                    "obj_menu_export Draw",  "obj_menu_play Draw",  "obj_menu_import Draw",
                    "obj_menu_status Draw",  "obj_splash Draw",     "obj_ico Draw",
                    "obj_win Draw"};
    EXPECT_EQ(expected, EventLog());
    EventLog().clear();
    Room_DispatchDraw(64);
    EXPECT_EQ((Log{"obj_ico DrawGUI", "obj_win DrawGUI"}), EventLog());
}

TEST_F(Spine, LayersSortByDepthAndEqualDepthsKeepInsertionOrder) {
    LayerList layers;
    layers.Insert({"front", 1, 0, true, {}});
    layers.Insert({"back", 2, 100, true, {}});
    layers.Insert({"front too", 3, 0, true, {}});
    std::vector<std::string> walk;
    layers.ForEachDeepestFirst([&](Layer& layer) { walk.push_back(layer.name); });
    EXPECT_EQ((std::vector<std::string>{"back", "front too", "front"}), walk);
}

TEST_F(Spine, EndingTheGameRunsRoomEndThenCleanUpThenGameEnd) {
    AddEvent(1, 7, 5, 52, "obj_win RoomEnd");
    AddEvent(1, 7, 3, 53, "obj_win GameEnd");
    AddEvent(2, 12, 0, 54, "obj_ico CleanUp");
    Start();
    Room_SetPendingRoom(PendingGameEnd);
    Room_EndGame();
    // obj_cleanup is persistent: its Clean Up comes before Game End; obj_ico's comes when the room goes.
    EXPECT_EQ((Log{"obj_win RoomEnd", "obj_cleanup CleanUp", "obj_win GameEnd", "obj_ico CleanUp"}),
              EventLog());
}

TEST_F(Spine, APendingRoomChangeHoldsBackAllButPersistentCreationEvents) {
    Start();
    Room_SetPendingRoom(PendingGameEnd);
    CInstance* win = Instance_Find(100001);
    CInstance* cleanup = Instance_Find(100000);
    PerformEvent(win, win, 1, 3, 0);
    PerformEvent(win, win, 1, 0, 0);
    PerformEvent(cleanup, cleanup, 0, 3, 1);
    PerformEvent(cleanup, cleanup, 0, 14, 0);
    EXPECT_EQ(Log{"obj_cleanup PreCreate"}, EventLog());
    Room_SetPendingRoom(NoPendingRoom);
}

TEST_F(Spine, InheritedEventsWalkToTheParent) {
    data_.objects[8].parentIndex = 1; // obj_menu_about under obj_win
    AddEvent(1, 7, 4, 55, "obj_win RoomStart");
    Start();
    CInstance* about = Instance_Find(100009);
    PerformEvent(about, about, 8, 7, 4);
    EXPECT_EQ(Log{"obj_win RoomStart"}, EventLog());
    // the owner of the running event is the parent
    EventHooks().push_back(
        {"obj_win RoomStart", [](CInstance*) { EXPECT_EQ(1, CurrentEventContext().objectIndex); }});
    PerformEvent(about, about, 8, 7, 4);
    EXPECT_EQ(-1, CurrentEventContext().objectIndex);
}

// Too deep a recursion is shown and that one event is skipped; the program goes on.
TEST_F(Spine, RecursionDeeperThan32IsShownAndTheProgramGoesOn) {
    static std::string report;
    static int exits = 0;
    SetErrorSink([](const std::string& text) { report = text; });
    SetErrorExit([](int) { ++exits; });
    Start();
    int depth = 0;
    EventHooks().push_back({"obj_win Step", [&](CInstance* self) {
                                ++depth;
                                PerformEvent(self, self, 1, 3, 0);
                            }});
    CInstance* win = Instance_Find(100001);
    PerformEvent(win, win, 1, 3, 0);
    EXPECT_EQ(32, depth);
    EXPECT_NE(std::string::npos,
              report.find("PerformEvent recursion depth failure - check for infinite loops, "
                          "check objects for parenting"));
    EXPECT_EQ(0, exits);
    EXPECT_FALSE(ErrorPending()) << "Clean Up must still run at the end";
    EventLog().clear();
    Room_DispatchStep(1);
    EXPECT_EQ(Log{"obj_cleanup BeginStep"}, EventLog());
    SetErrorSink(nullptr);
    SetErrorExit(nullptr);
}

// An error raised inside an event's script: the report, built where it was raised, keeps the trace
// chain; a second error while it is being reported is not shown again.
TEST_F(Spine, ScriptErrorsInEventsAreReportedWithTheEventObjectAndTrace) {
    static std::string report;
    static int exitCode = 0, shown = 0;
    SetErrorSink([](const std::string& text) {
        report = text;
        ++shown;
    });
    SetErrorExit([](int code) {
        exitCode = code;
        try {
            RuntimeError("second");
        } catch (const ScriptError& error) {
            ShowErrorReport(error);
        }
    });
    Start();
    EventHooks().push_back({"obj_menu_import Step", [](CInstance*) {
                                TraceScope event("Object_obj_menu_import_Step_0");
                                event.Line(6);
                                TraceScope script("Script_byte_get_size");
                                script.Line(3);
                                RValue("a") + RValue(1.0);
                            }});
    Room_DispatchStep(0);
    EXPECT_EQ(1, exitCode);
    EXPECT_EQ("ERROR in\naction number 1\nof Step Event\nfor object obj_menu_import:\n\n\n"
              "unable to add a number to string\n"
              "called from - Script_byte_get_size (line 3)\n"
              "called from - Object_obj_menu_import_Step_0 (line 6)",
              report);
    EXPECT_EQ(1, shown);
    EXPECT_TRUE(ErrorPending()) << "Clean Up is held back";
    ClearErrorPending();
    SetErrorSink(nullptr);
    SetErrorExit(nullptr);
}

TEST_F(Spine, ErrorsInCreationCodeAreReportedAsTheirEventsAre) {
    static std::vector<std::string> reports;
    reports.clear();
    SetErrorSink([](const std::string& text) { reports.push_back(text); });
    SetErrorExit([](int) {});
    auto fail = [](CInstance*) { RValue("a") + RValue(1.0); };
    data_.rooms[0].instances[1].creationCode = 52;
    data_.rooms[0].creationCode = 53;
    SetLabel(52, "obj_win creation code");
    SetLabel(53, "rm_main creation code");
    LoadTestGame(data_);
    EventHooks() = {{"obj_win creation code", fail}, {"rm_main creation code", fail}};
    Room_Start(0, true);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ(0u,
              reports[0].find("ERROR in\naction number 1\nof Instance Creation Code\nfor object obj_win:\n"));
    EXPECT_EQ(0u, reports[1].find("ERROR in\naction number 1\nof Room Creation Code\nfor object rm_main:\n"));
    ClearErrorPending();
    SetErrorSink(nullptr);
    SetErrorExit(nullptr);
}

TEST_F(Spine, A121FrameAnimationEndsOnTheStepThatWrapsTo0) {
    data_.objects[2].spriteIndex = 3; // obj_ico with the 121-frame spinner at 60 per second
    AddEvent(2, 7, 7, 56, "obj_ico AnimationEnd");
    Start();
    CInstance* ico = Instance_Find(100002);
    ico->spriteIndex = 3;
    for (int step = 1; step <= 120; ++step) {
        Runner_AdvanceAnimation(ico);
    }
    EXPECT_FLOAT_EQ(120.0f, ico->imageIndex);
    EXPECT_TRUE(Only("AnimationEnd").empty());
    Runner_AdvanceAnimation(ico);
    EXPECT_FLOAT_EQ(0.0f, ico->imageIndex);
    EXPECT_EQ(Log{"obj_ico AnimationEnd"}, EventLog());
}
