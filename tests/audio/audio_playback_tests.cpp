// What the listener hears: the tone, silence while paused, looping, the end of a track, gain.
#include "Sound/Audio_Main.h"
#include "audio_test_support.h"

namespace {
using AudioPlayback = AudioTest;

TEST_F(AudioPlayback, PauseSilencesAndResumeContinuesWhereItStopped) {
    // 440 Hz for a second, then 880 Hz: after resuming, the 440 Hz part must carry on, not restart.
    int stream = Audio_CreateStream("lib\\twotone.ogg");
    int voice = Audio_PlaySound(stream, 1, true);
    RunFrames(600);
    Audio_PauseSound(stream);
    EXPECT_TRUE(Audio_IsPaused(voice));
    EXPECT_TRUE(Audio_IsPlaying(stream)) << "a paused stream voice counts as playing";
    RunFrames(400);
    Audio_ResumeSound(stream);
    EXPECT_FALSE(Audio_IsPaused(voice));
    RunFrames(800);
    Audio_StopSound(voice);
    EXPECT_FALSE(Audio_IsPlaying(voice));
    RunFrames(200);

    Capture capture = FinishCapture();
    std::vector<SoundRun> loud = LoudRuns(capture);
    ASSERT_EQ(loud.size(), 2u);
    EXPECT_NEAR(RunMs(capture, loud[0]), 600, 80);
    EXPECT_NEAR(1000.0 * double(loud[1].begin - loud[0].end) / capture.rate, 400, 80);
    EXPECT_NEAR(RunMs(capture, loud[1]), 800, 80);
    EXPECT_NEAR(Frequency(capture, loud[0].begin, loud[0].end), 440, 3);
    EXPECT_NEAR(Frequency(capture, loud[1].begin, loud[1].begin + capture.Frames(200)), 440, 3);
    EXPECT_NEAR(Frequency(capture, loud[1].end - capture.Frames(200), loud[1].end), 880, 5);
}

TEST_F(AudioPlayback, NonLoopingVoicePlaysTheTrackOnceAndEnds) {
    int voice = Audio_PlaySound(Audio_CreateStream("lib\\short.ogg"), 1, false);
    RunFrames(700);
    EXPECT_FALSE(Audio_IsPlaying(voice));

    Capture capture = FinishCapture();
    std::vector<SoundRun> loud = LoudRuns(capture);
    ASSERT_EQ(loud.size(), 1u);
    EXPECT_NEAR(RunMs(capture, loud[0]), 300, 30) << "stereo at 22050 Hz keeps its length";
    EXPECT_NEAR(Frequency(capture, loud[0].begin, loud[0].end), 440, 3) << "and its pitch";
}

TEST_F(AudioPlayback, LoopingVoiceRepeatsTheTrackWithoutGaps) {
    int stream = Audio_CreateStream("lib\\short.ogg");
    int voice = Audio_PlaySound(stream, 1, 1);
    RunFrames(1000); // more than three passes through the 0.3 s track
    EXPECT_TRUE(Audio_IsPlaying(voice));
    Audio_StopSound(stream);
    RunFrames(100);

    Capture capture = FinishCapture();
    std::vector<SoundRun> loud = LoudRuns(capture);
    ASSERT_EQ(loud.size(), 1u) << "a silent 10 ms window would split the run at a loop point";
    EXPECT_NEAR(RunMs(capture, loud[0]), 1000, 80);
    EXPECT_NEAR(Frequency(capture, loud[0].begin, loud[0].end), 440, 3);
}

TEST_F(AudioPlayback, MasterGainScalesTheOutputWithoutUpperLimit) {
    const double gains[] = {1, 0.5, 2, -0.5};
    constexpr int SegmentMs = 300;
    Audio_PlaySound(Audio_CreateStream("lib\\tone.ogg"), 1, true);
    for (double gain : gains) {
        Audio_MasterGain(gain);
        RunFrames(SegmentMs);
    }

    Capture capture = FinishCapture();
    std::vector<SoundRun> loud = LoudRuns(capture);
    ASSERT_FALSE(loud.empty());
    // The middle 100 ms of each segment, measured from the start of the sound.
    auto segmentLevel = [&](int segment) {
        size_t middle = loud[0].begin + capture.Frames(segment * SegmentMs + SegmentMs / 2);
        return Level(capture, middle - capture.Frames(50), middle + capture.Frames(50));
    };
    double unity = segmentLevel(0);
    EXPECT_GT(unity, 0.02);
    EXPECT_NEAR(segmentLevel(1) / unity, 0.5, 0.03);
    EXPECT_NEAR(segmentLevel(2) / unity, 2.0, 0.1);
    EXPECT_LT(segmentLevel(3), 1e-4) << "a negative gain counts as 0";
}
} // namespace
