#include "audio_test_support.h"
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Runner/Runner_Log.h"
#include "Sound/Audio_Main.h"
#include "Support/Win32/Support_FileM.h"
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr double LoudLevel = 0.01;

uint32_t ReadU32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

uint16_t ReadU16(const std::string& bytes, size_t at) {
    uint16_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

// Reads a 16-bit stereo WAV as the wave backend writes it (the extensible header included).
Capture ParseWave(const std::string& bytes) {
    Capture capture;
    size_t at = 12;
    uint16_t channels = 0;
    while (at + 8 <= bytes.size()) {
        std::string id = bytes.substr(at, 4);
        uint32_t size = ReadU32(bytes, at + 4);
        if (id == "fmt ") {
            channels = ReadU16(bytes, at + 10);
            capture.rate = static_cast<int>(ReadU32(bytes, at + 12));
            EXPECT_EQ(ReadU16(bytes, at + 22), 16) << "the config asks for 16-bit output";
        } else if (id == "data") {
            size_t frames = std::min<size_t>(size, bytes.size() - at - 8) / (2u * channels);
            for (size_t frame = 0; frame < frames; ++frame) {
                auto sample = static_cast<int16_t>(ReadU16(bytes, at + 8 + frame * 2 * channels));
                capture.samples.push_back(static_cast<float>(sample) / 32768.0f);
            }
        }
        at += 8 + size;
    }
    return capture;
}

std::string waveFile;
std::string logFile;
size_t logStart = 0; // the first log file opened also receives the lines logged before it

std::vector<double> WindowLevels(const Capture& capture) {
    std::vector<double> levels;
    size_t window = capture.Frames(WindowMs);
    for (size_t begin = 0; begin + window <= capture.samples.size(); begin += window) {
        levels.push_back(Level(capture, begin, begin + window));
    }
    return levels;
}
} // namespace

std::vector<SoundRun> LoudRuns(const Capture& capture) {
    std::vector<SoundRun> loud;
    size_t window = capture.Frames(WindowMs);
    std::vector<double> levels = WindowLevels(capture);
    for (size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] <= LoudLevel) {
            continue;
        }
        if (loud.empty() || loud.back().end != i * window) {
            loud.push_back({i * window, i * window});
        }
        loud.back().end = (i + 1) * window;
    }
    return loud;
}

double RunMs(const Capture& capture, const SoundRun& run) {
    return 1000.0 * static_cast<double>(run.end - run.begin) / capture.rate;
}

double Level(const Capture& capture, size_t begin, size_t end) {
    double sum = 0;
    for (size_t i = begin; i < end; ++i) {
        sum += double(capture.samples[i]) * capture.samples[i];
    }
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0;
}

double Frequency(const Capture& capture, size_t begin, size_t end) {
    // A crossing counts only after a clear trough, so low-level noise around 0 adds none.
    constexpr float Trough = -0.005f;
    size_t first = 0, last = 0, crossings = 0;
    bool armed = false;
    for (size_t i = begin; i < end; ++i) {
        float sample = capture.samples[i];
        if (sample < Trough) {
            armed = true;
        } else if (armed && sample >= 0) {
            armed = false;
            first = crossings++ == 0 ? i : first;
            last = i;
        }
    }
    if (crossings < 2) {
        return 0;
    }
    return static_cast<double>(crossings - 1) * capture.rate / static_cast<double>(last - first);
}

void UseWaveOutput(const std::string& folder, const std::string& wave) {
    std::string config = folder + "/alsoft.conf";
    std::ofstream(config) << "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                             "frequency = 44100\nhrtf = false\n[wave]\nfile = "
                          << wave << "\n";
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
}

std::string MakeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "morvane-audio-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    return pattern;
}

void MakeOgg(const std::string& file, const std::string& graph) {
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -filter_complex '" + graph +
                          "' -c:a libvorbis '" + file + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

RValue CallBuiltin(const char* name, std::vector<RValue> args) {
    int index = Function_Find(name);
    EXPECT_GE(index, 0) << name;
    RValue result;
    Function_Call(nullptr, nullptr, result, static_cast<int>(args.size()), index, args.data());
    return result;
}

std::string AudioTest::folder;
std::string AudioTest::libFolder;

void AudioTest::SetUpTestSuite() {
    if (!folder.empty()) {
        return; // one save area, config and set of tone files per process
    }
    folder = MakeTempFolder();
    libFolder = folder + "/lib";
    fs::create_directory(libFolder);
    waveFile = folder + "/output.wav";
    logFile = folder + "/runner.log";
    UseWaveOutput(folder, waveFile);
    FileM_SetSaveArea(folder + "/");
    Runner_SetLogToStderr(false);
    Register_Audio();
    MakeOgg(libFolder + "/tone.ogg", "sine=frequency=440:duration=2");
    MakeOgg(libFolder + "/twotone.ogg", "sine=frequency=440:duration=1[a];sine=frequency=880:duration=1[b];"
                                        "[a][b]concat=n=2:v=0:a=1");
    // Stereo at half the output rate: a wrong frame size or rate would change length and pitch.
    MakeOgg(libFolder + "/short.ogg", "sine=frequency=440:duration=0.3:sample_rate=22050,"
                                      "aformat=channel_layouts=stereo");
    std::ofstream(libFolder + "/notogg.ogg") << "This is plain text, not an Ogg Vorbis stream.\n";
}

void AudioTest::SetUp() {
    ASSERT_TRUE(Audio_Init()) << "the wave backend should open";
    fs::remove(logFile);
    Runner_OpenLogFile(logFile); // from here on: the lines of the test's own calls
    logStart = fs::file_size(logFile);
}

void AudioTest::TearDown() {
    Audio_Shutdown();
    Runner_CloseLogFile();
}

void AudioTest::RunFrames(int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        Audio_Tick();
        std::this_thread::sleep_for(std::chrono::microseconds(16667));
    }
}

Capture AudioTest::FinishCapture() {
    Audio_Shutdown();
    return ParseWave(ReadFile(waveFile));
}

std::string AudioTest::LogText() {
    return ReadFile(logFile).substr(logStart);
}
