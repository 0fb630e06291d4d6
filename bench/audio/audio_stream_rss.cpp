// Plays one Ogg Vorbis file as a looping stream and reports the process's resident memory before,
// during and after, so tracks of different lengths can be compared.
// Usage: audio_stream_rss <folder> <file in folder> <seconds>
#include "Runner/Runner_Log.h"
#include "Sound/Audio_Main.h"
#include "Support/Win32/Support_FileM.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {
// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    return -1;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <folder> <file> <seconds>\n", argv[0]);
        return 2;
    }
    Runner_SetLogToStderr(false);
    FileM_SetSaveArea(std::string(argv[1]) + "/");
    if (!Audio_Init()) {
        std::fprintf(stderr, "no audio device\n");
        return 1;
    }
    long before = StatusKb("VmRSS");
    int stream = Audio_CreateStream(argv[2]);
    if (Audio_PlaySound(stream, 1, true) < 400000) {
        std::fprintf(stderr, "could not play %s\n", argv[2]);
        return 1;
    }
    long peak = 0;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[3]));
    while (std::chrono::steady_clock::now() < end) {
        Audio_Tick();
        peak = std::max(peak, StatusKb("VmRSS"));
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    long playing = StatusKb("VmRSS");
    Audio_DestroyStream(stream);
    Audio_Shutdown();
    std::printf("%s: RSS before play %ld kB, while playing %ld kB (peak %ld kB), growth %ld kB\n", argv[2],
                before, playing, peak, peak - before);
    return 0;
}
