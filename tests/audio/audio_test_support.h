// Audio tests listen to what was played: OpenAL Soft's wave backend writes the mix to a file in
// real time, which the tests read back after the layer shuts down.
#pragma once
#include "Code/Code_Variable.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The left channel of the captured output, as samples in [-1, 1].
struct Capture {
    std::vector<float> samples;
    int rate = 0;
    size_t Frames(int milliseconds) const { return static_cast<size_t>(rate) * milliseconds / 1000; }
};

// A stretch of consecutive loud 10 ms windows.
struct SoundRun {
    size_t begin, end; // sample positions
};

constexpr int WindowMs = 10;

std::vector<SoundRun> LoudRuns(const Capture& capture);
double RunMs(const Capture& capture, const SoundRun& run);
// Root mean square of samples [begin, end).
double Level(const Capture& capture, size_t begin, size_t end);
// Frequency from the rising zero crossings in [begin, end).
double Frequency(const Capture& capture, size_t begin, size_t end);

// Writes the OpenAL config (wave backend, or `waveFile` empty for no device) and the environment
// that points OpenAL at it; must run before the first device is opened in this process.
void UseWaveOutput(const std::string& folder, const std::string& waveFile);
// A fresh folder below the system's temporary folder.
std::string MakeTempFolder();
// Runs ffmpeg to make `file` from a lavfi filter graph; fails the test when it does not.
void MakeOgg(const std::string& file, const std::string& graph);
std::string ReadFile(const std::string& path);

// Calls a built-in through the function table, as compiled code does.
RValue CallBuiltin(const char* name, std::vector<RValue> args);

// Per test: a save area with tone files in "lib", the runtime log captured, the layer started.
class AudioTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Frames at 60 a second for about `milliseconds`, ticking the audio layer as the runner does.
    static void RunFrames(int milliseconds);
    // Shuts the layer down (which completes the wave file) and reads the captured output.
    static Capture FinishCapture();
    // Everything logged since the test began.
    static std::string LogText();

    static std::string folder; // the save area
    static std::string libFolder;
};
