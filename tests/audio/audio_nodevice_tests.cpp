// Without an output device the layer is off: every built-in does nothing and nothing fails.
#include "Runner/Runner_Log.h"
#include "Sound/Audio_Main.h"
#include "Support/Win32/Support_FileM.h"
#include "audio_test_support.h"

namespace {
TEST(AudioWithoutDevice, EveryFunctionDoesNothing) {
    std::string folder = MakeTempFolder();
    UseWaveOutput(folder, ""); // the wave backend refuses to open without a file name
    FileM_SetSaveArea(folder + "/");
    MakeOgg(folder + "/tone.ogg", "sine=frequency=440:duration=0.2");
    Runner_SetLogToStderr(false);
    Runner_OpenLogFile(folder + "/runner.log");

    EXPECT_FALSE(Audio_Init());
    EXPECT_EQ(Audio_CreateStream("tone.ogg"), -1);
    EXPECT_EQ(Audio_PlaySound(300000, 1, true), -1);
    EXPECT_EQ(Audio_DestroyStream(300000), -1);
    Audio_PauseSound(300000);
    Audio_ResumeSound(400000);
    Audio_StopSound(300000);
    Audio_MasterGain(0.75);
    Audio_Tick();
    EXPECT_FALSE(Audio_IsPlaying(300000));
    EXPECT_FALSE(Audio_IsPaused(400000));
    Audio_Shutdown();
    Runner_CloseLogFile();
    EXPECT_EQ(ReadFile(folder + "/runner.log"), "audio: no output device, sound is off\n");
}
} // namespace
