// The whole runner on the scripted platform: the tool's data with a code table that logs events.
#include "Code/Code_Error.h"
#include "Code/Code_Function.h"
#include "Graphics_API/Graphics_API.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_Form.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Loop.h"
#include "TestGame.h"
#include "data/GameDataBlob.h"
#include "platform/scripted/Scripted_Platform.h"
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {
using Log = std::vector<std::string>;

class Runner : public ::testing::Test {
  protected:
    void SetUp() override {
        Runner_SetLogToStderr(false);
        setenv("ALSOFT_DRIVERS", "null", 1);
        folder_ = std::filesystem::temp_directory_path() / ("runner-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("APPDATA", folder_.c_str(), 1);
        MakeToolLikeData(); // fills the log labels of the tool's code ids
        EventLog().clear();
        EventHooks().clear();
        game_ = TestGame();
        game_.data = kGameData;
        game_.length = kGameDataSize;
        RunnerConfig config;
        config.programFolder = folder_.string();
        // Pacing and events frame by frame: every frame runs (quiet_frame_tests has the sleeps).
        config.skipQuietFrames = false;
        ASSERT_TRUE(Runner_Start(config, game_, platform_));
    }
    void TearDown() override {
        Runner_Finish();
        std::filesystem::remove_all(folder_);
    }
    size_t Count(const std::string& label) { return std::count(EventLog().begin(), EventLog().end(), label); }

    std::filesystem::path folder_;
    EmbeddedGame game_{};
    ScriptedPlatform platform_;
};
} // namespace

TEST_F(Runner, StartsTheRoomAndRunsTheGlobalScriptsFirst) {
    ASSERT_GE(EventLog().size(), 3u);
    EXPECT_EQ("GlobalScript_0", EventLog()[0]);
    EXPECT_EQ("GlobalScript_1", EventLog()[1]);
    EXPECT_EQ("obj_cleanup PreCreate", EventLog()[2]);
}

TEST_F(Runner, RunsTheFirstFrameAtOnceThenPacesFramesAt60PerSecond) {
    int64_t start = platform_.NowMicros();
    ASSERT_TRUE(Runner_Frame());
    EXPECT_LT(platform_.NowMicros() - start, 1000) << "nothing was shown yet, so nothing to wait for";
    int frames = 1;
    while (platform_.NowMicros() - start < 1'000'000) {
        ASSERT_TRUE(Runner_Frame());
        ++frames;
    }
    EXPECT_NEAR(60, frames, 1);
    EXPECT_NEAR(16667, Runner_LoopState().stepCount ? 1'000'000 / frames : 0, 300);
}

TEST_F(Runner, ARoomChangeInBeginStepStopsTheStepBeforeStepAndDraw) {
    bool once = true;
    EventHooks().push_back({"obj_cleanup BeginStep", [&](CInstance*) {
                                if (once) {
                                    once = false;
                                    Room_SetPendingRoom(0);
                                }
                            }});
    EventLog().clear();
    int presents = platform_.PresentCount();
    ASSERT_TRUE(Runner_Frame());
    EXPECT_EQ(0u, Count("obj_win Step"));
    EXPECT_EQ(0u, Count("obj_win Draw"));
    EXPECT_EQ(presents, platform_.PresentCount()) << "a frame with a room switch pending is not shown";
    // The room restarted after the frame: its instances were made again.
    EXPECT_EQ(1u, Count("obj_win Create"));
}

TEST_F(Runner, GameEndFinishesItsEventAndFrameThenEndsTheGame) {
    EventHooks().push_back({"obj_win Step", [](CInstance*) {
                                RValue result;
                                Function_Call(nullptr, nullptr, result, 0, Function_Find("game_end"),
                                              nullptr);
                                EventLog().push_back("after game_end");
                            }});
    EventLog().clear();
    EXPECT_FALSE(Runner_Frame());
    EXPECT_EQ((Log{"obj_cleanup BeginStep", "obj_win Step", "after game_end"}), EventLog());
    Runner_Finish();
    EXPECT_EQ(1u, Count("obj_cleanup CleanUp"));
}

TEST_F(Runner, OnlyAFrameThatDrawsSomethingNewIsRenderedAndPresented) {
    double left = 100;
    EventHooks().push_back(
        {"obj_win Draw", [&](CInstance* self) {
             RValue result;
             RValue args[] = {RValue(left), RValue(100.0), RValue(left + 9), RValue(109.0), RValue(0.0)};
             Function_Call(self, self, result, 5, Function_Find("draw_rectangle"), args);
         }});
    auto presentsAfterFrame = [&] {
        EXPECT_TRUE(Runner_Frame());
        return platform_.PresentCount();
    };
    const int first = presentsAfterFrame();
    EXPECT_EQ(first, presentsAfterFrame()) << "the same picture again";
    left = 200;
    EXPECT_EQ(first + 1, presentsAfterFrame());
    const SDL_Color drawn = platform_.Pixel(205, 105);
    // Exposed, between frames or while a command line runs, the window shows its last frame again.
    platform_.Expose();
    EXPECT_EQ(first + 2, platform_.PresentCount());
    EventLog().clear();
    platform_.DuringNextModalWait([&] { platform_.Expose(); });
    platform_.RunBlocking([] {});
    EXPECT_EQ(first + 3, platform_.PresentCount());
    EXPECT_EQ(0u, Count("obj_win Draw")) << "no frame runs during a modal wait";
    const SDL_Color shown = platform_.Pixel(205, 105);
    EXPECT_EQ((std::array<int, 3>{drawn.r, drawn.g, drawn.b}),
              (std::array<int, 3>{shown.r, shown.g, shown.b}));
    EXPECT_NE(shown.r + shown.g + shown.b,
              platform_.Pixel(105, 105).r + platform_.Pixel(105, 105).g + platform_.Pixel(105, 105).b);
}

// A Draw event that sets a target and never resets it: the error is shown, that frame's GUI layer is
// not drawn, and the program goes on.
TEST_F(Runner, AnUnbalancedSurfaceStackIsShownAndTheFrameSkipsItsGui) {
    static std::string shown;
    SetErrorSink([](const std::string& text) { shown = text; });
    EventHooks().push_back({"obj_win Draw", [](CInstance*) { Graphics_TargetApplicationSurface(); }});
    EventLog().clear();
    EXPECT_TRUE(Runner_Frame());
    EXPECT_NE(std::string::npos, shown.find("Unbalanced surface stack")) << shown;
    EXPECT_EQ(0u, Count("obj_win DrawGUI"));
    EXPECT_EQ(1u, Count("obj_win Draw"));
    EXPECT_FALSE(ErrorPending());
    SetErrorSink(nullptr);
}
