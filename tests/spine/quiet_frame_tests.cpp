// Frames only when something can change: the whole runner on the scripted platform, whose waits end at
// once (a call while asleep stands for a frame that did not run, and its time passes).
#include "Code/Code_Function.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Runner/Runner_Form.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Loop.h"
#include "Runner/Runner_Quiet.h"
#include "TestGame.h"
#include "Variable/Variable_BuiltIn.h"
#include "data/GameDataBlob.h"
#include "platform/scripted/Scripted_Platform.h"
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {
constexpr int Slot = 20; // a variable slot the tool's objects leave alone in the test game
constexpr int64_t Period = 16667;

class QuietFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        Runner_SetLogToStderr(false);
        setenv("ALSOFT_DRIVERS", "null", 1);
        unsetenv("MORVANE_EVERY_FRAME");
        folder_ = std::filesystem::temp_directory_path() / ("quiet-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("APPDATA", folder_.c_str(), 1);
        MakeToolLikeData();
        EventLog().clear();
        EventHooks().clear();
        game_ = TestGame();
        game_.data = kGameData;
        game_.length = kGameDataSize;
        RunnerConfig config;
        config.programFolder = folder_.string();
        ASSERT_TRUE(Runner_Start(config, game_, platform_));
    }
    void TearDown() override {
        Runner_Finish();
        std::filesystem::remove_all(folder_);
    }
    // Frames until the loop sleeps; how many ran (limit + 1 when it never did).
    int FramesUntilAsleep(int limit) {
        for (int i = 1; i <= limit; ++i) {
            EXPECT_TRUE(Runner_Frame());
            if (Runner_LoopState().asleep)
                return i;
        }
        return limit + 1;
    }
    size_t Ran(const std::string& label) { return std::count(EventLog().begin(), EventLog().end(), label); }
    static double Real(CInstance* instance) { return instance->Slot(Slot).AsReal(); }
    // The first instance of an object: 0 obj_cleanup (no sprite), 1 obj_win.
    static CInstance* Instance(int object) { return Object_Get(object)->instances.front(); }
    static RValue BuiltIn(CInstance* self, const char* name) {
        RValue value;
        Variable_BuiltIn_Get(self, Variable_BuiltIn_Find(name), NoArrayIndex, value);
        return value;
    }

    std::filesystem::path folder_;
    EmbeddedGame game_{};
    ScriptedPlatform platform_;
};
} // namespace

TEST_F(QuietFrames, AStillWindowSleepsUntilInputArrivesAndTheNextFrameAnswersIt) {
    ASSERT_LE(FramesUntilAsleep(10), 10) << Runner_QuietReason();
    const size_t steps = Ran("obj_win Step");
    const int presents = platform_.PresentCount();
    const int64_t before = platform_.NowMicros();
    for (int i = 0; i < 600; ++i)
        ASSERT_TRUE(Runner_Frame());
    EXPECT_EQ(steps, Ran("obj_win Step")) << "no event runs while nothing can change";
    EXPECT_EQ(presents, platform_.PresentCount());
    EXPECT_EQ(600 * Period, platform_.NowMicros() - before) << "each call stands for a frame's time";
    platform_.SetPointer(40, 40);
    const int64_t woken = platform_.NowMicros();
    ASSERT_TRUE(Runner_Frame());
    EXPECT_EQ(steps + 1, Ran("obj_win Step")) << "the first call after the input runs a frame";
    EXPECT_EQ(woken, platform_.NowMicros()) << "at once, not a period later";
    EXPECT_FALSE(Runner_LoopState().asleep) << "a frame that took input is not quiet";
    EXPECT_EQ(600u, Runner_LoopState().skippedFrames);
}

TEST_F(QuietFrames, TheFrameAfterASleepSeesOneFramePeriodOfDeltaTime) {
    std::vector<double> deltas;
    EventHooks().push_back({"obj_win Step", [&](CInstance* self) {
                                if (platform_.HasFocus())
                                    deltas.push_back(BuiltIn(self, "delta_time").AsReal());
                            }});
    // Reading delta_time is no news while frames keep to their period.
    ASSERT_LE(FramesUntilAsleep(10), 10) << Runner_QuietReason();
    for (int i = 0; i < 300; ++i)
        Runner_Frame();
    platform_.SetFocus(false);
    platform_.SetFocus(true);
    deltas.clear();
    Runner_Frame();
    ASSERT_EQ(1u, deltas.size());
    EXPECT_EQ(double(Period), deltas[0]) << "not the five seconds the loop slept";
}

TEST_F(QuietFrames, AFrameThatReadsTheClockIsNeverQuiet) {
    EventHooks().push_back({"obj_win Step", [](CInstance* self) {
                                RValue now;
                                Function_Call(self, self, now, 0, Function_Find("date_current_datetime"),
                                              nullptr);
                            }});
    EXPECT_EQ(301, FramesUntilAsleep(300));
    EXPECT_STREQ("date_current_datetime", Runner_QuietReason());
}

// The shade's fade toward 0 by a quarter a frame: its value stops changing only after some 2,600 frames.
TEST_F(QuietFrames, AFadeBelowWhatThePictureShowsSleepsAtOnceAndWakesWhereEveryFrameWouldBe) {
    EventHooks().push_back({"obj_win Step", [](CInstance* self) {
                                if (self->Slot(Slot).is(Kind::Undefined))
                                    self->Slot(Slot) = RValue(0.25);
                                RValue alpha = self->Slot(Slot);
                                self->Slot(Slot) = alpha + (RValue(0.0) - alpha) * RValue(0.25);
                            }});
    // The shade's fade toward 0 by a quarter a frame: its value stops changing after some 2,600 frames.
    const auto faded = [](int frames) {
        double alpha = 0.25;
        for (int i = 0; i < frames; ++i)
            alpha = alpha + (0.0 - alpha) * 0.25;
        return alpha;
    };
    int frames = FramesUntilAsleep(5000);
    EXPECT_LE(frames, 10) << "the frames to its fixed point ran ahead, unshown";
    EXPECT_GT(Runner_LoopState().ranAhead, 2000u);
    EXPECT_EQ(faded(frames), Real(Instance(1))) << "and what they changed was put back";
    // Woken in the middle of the fade and past its end: the value every frame would have reached.
    for (int skipped : {5, 100, 3000}) {
        for (int i = 0; i < skipped; ++i)
            ASSERT_TRUE(Runner_Frame());
        platform_.Wake();
        ASSERT_TRUE(Runner_Frame());
        frames += skipped + 1;
        EXPECT_EQ(faded(frames), Real(Instance(1))) << "woken after " << skipped << " frames asleep";
        if (!Runner_LoopState().asleep)
            frames += FramesUntilAsleep(10);
    }
}

TEST_F(QuietFrames, ARepeatingStateSleepsAndWakesInThePhaseEveryFrameWouldHaveReached) {
    EventHooks().push_back({"obj_win Step", [](CInstance* self) {
                                self->Slot(Slot) = RValue(double((self->Slot(Slot).AsInt64() + 1) % 7));
                            }});
    ASSERT_LE(FramesUntilAsleep(40), 40) << Runner_QuietReason();
    CInstance* win = Instance(1);
    CInstance* cleanup = Instance(0);
    const double counter = Real(win);
    const float animation = cleanup->imageIndex;
    for (int i = 0; i < 1000; ++i)
        Runner_Frame();
    Runner_CatchUp();
    EXPECT_EQ(double((int64_t(counter) + 1000) % 7), Real(win));
    EXPECT_EQ(animation + 1000, cleanup->imageIndex) << "a free-running image_index went on too";
}

TEST_F(QuietFrames, AWakeFromAnotherThreadRunsTheNextFrame) {
    ASSERT_LE(FramesUntilAsleep(10), 10);
    const size_t steps = Ran("obj_win Step");
    Runner_Frame();
    EXPECT_EQ(steps, Ran("obj_win Step"));
    std::thread([this] { platform_.Wake(); }).join();
    Runner_Frame();
    EXPECT_EQ(steps + 1, Ran("obj_win Step"));
    Runner_Frame();
    EXPECT_TRUE(Runner_LoopState().asleep) << "nothing changed: asleep again after one frame";
}

TEST_F(QuietFrames, EveryFrameRunsWhenAskedTo) {
    Runner_Finish();
    setenv("MORVANE_EVERY_FRAME", "1", 1);
    RunnerConfig config;
    config.programFolder = folder_.string();
    ASSERT_TRUE(Runner_Start(config, game_, platform_));
    unsetenv("MORVANE_EVERY_FRAME");
    EXPECT_EQ(201, FramesUntilAsleep(200));
}
