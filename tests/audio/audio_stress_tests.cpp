// Many streams made, played, paused, ended and destroyed while the ogg thread decodes: run under
// the sanitizers, this is where leaks and data races between the two threads would show.
#include "Sound/Audio_Main.h"
#include "audio_test_support.h"
#include <chrono>
#include <thread>

namespace {
using AudioStress = AudioTest;

TEST_F(AudioStress, CreatePlayDestroyManyTimes) {
    constexpr int Rounds = 150;
    int voicesMade = 0;
    for (int round = 0; round < Rounds; ++round) {
        // Pauses between the calls let the ogg thread run in between, where a race would be.
        auto breathe = [round] { std::this_thread::sleep_for(std::chrono::milliseconds(round % 4)); };
        int stream = Audio_CreateStream(round % 3 == 0 ? "lib\\short.ogg" : "lib\\tone.ogg");
        ASSERT_EQ(stream, 300000) << "the destroyed stream's slot is reused";
        int voices = 1 + round % 3;
        for (int i = 0; i < voices; ++i) {
            ASSERT_EQ(Audio_PlaySound(stream, round % 5, i % 2), 400000 + voicesMade++);
        }
        breathe();
        if (round % 4 == 1) {
            Audio_PauseSound(stream);
            breathe();
        }
        if (round % 8 == 1) {
            Audio_ResumeSound(400000 + voicesMade - 1);
            breathe();
        }
        Audio_Tick();
        breathe();
        ASSERT_EQ(Audio_DestroyStream(stream), 1);
        ASSERT_FALSE(Audio_IsPlaying(stream));
    }
    // Streams left playing to the end, so voices also finish on their own and are reaped.
    int kept = Audio_CreateStream("lib\\short.ogg");
    for (int i = 0; i < 20; ++i) {
        Audio_PlaySound(kept, 1, false);
    }
    RunFrames(600);
    EXPECT_FALSE(Audio_IsPlaying(kept));
}
} // namespace
