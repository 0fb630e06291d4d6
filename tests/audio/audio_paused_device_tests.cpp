// On a device that can be paused (every one but the wave writer the other tests listen to), a paused
// track costs nothing: the device's mixer and the stream's feeder sleep until it resumes, and then it
// plays on to its end.
#include "Sound/Audio_Main.h"
#include "Support/Win32/Support_FileM.h"
#include "audio_test_support.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {
void RunFrames(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        Audio_Tick();
        std::this_thread::sleep_for(std::chrono::microseconds(16667));
    }
}

// Times the threads other than this one were put on a CPU, from the scheduler's counts.
long OtherThreadsWakeUps() {
    long wakeUps = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        if (task.path().filename() == std::to_string(gettid()))
            continue;
        long long onCpu = 0, waiting = 0, slices = 0;
        std::ifstream(task.path() / "schedstat") >> onCpu >> waiting >> slices;
        wakeUps += static_cast<long>(slices);
    }
    return wakeUps;
}

TEST(AudioPausedDevice, APausedTrackSleepsAndThenPlaysToItsEnd) {
    const std::string folder = MakeTempFolder();
    UseWaveOutput(folder, "");
    setenv("ALSOFT_DRIVERS", "null", 1);
    FileM_SetSaveArea(folder + "/");
    MakeOgg(folder + "/tone.ogg", "sine=frequency=440:duration=0.5");
    ASSERT_TRUE(Audio_Init());
    const int voice = Audio_PlaySound(Audio_CreateStream("tone.ogg"), 1, false);
    RunFrames(200);
    Audio_PauseSound(voice);
    RunFrames(200);
    const long before = OtherThreadsWakeUps();
    RunFrames(1000);
    EXPECT_LT(OtherThreadsWakeUps() - before, 20) << "the audio threads woke while the track was paused";
    EXPECT_TRUE(Audio_IsPlaying(voice)) << "a paused track does not end";
    Audio_ResumeSound(voice);
    RunFrames(800);
    EXPECT_FALSE(Audio_IsPlaying(voice)) << "the resumed track did not play to its end";
    Audio_Shutdown();
}
} // namespace
