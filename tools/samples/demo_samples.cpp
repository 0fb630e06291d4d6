// Build-time maker of the demo containers' pieces:
//   demo_samples music <out.wav>              a short stereo piece we synthesise ourselves
//   demo_samples header <out> <bytes>         a container header of our own (a multiple of 16)
//   demo_samples join <out> <first> <second>  the two files one after the other
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

namespace {
constexpr int Rate = 44100;
constexpr double Beat = 0.375; // seconds: 160 beats a minute

void PutLE(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

double NoteFrequency(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A plucked tone: a few harmonics under a quick attack and an exponential fade.
double Pluck(double t, double frequency, double length) {
    if (t < 0 || t > length) {
        return 0;
    }
    double envelope = std::min(1.0, t / 0.01) * std::exp(-3.5 * t / length);
    double sum = 0;
    for (int h = 1; h <= 4; ++h) {
        sum += std::sin(2 * std::numbers::pi * frequency * h * t) / (h * h);
    }
    return envelope * sum;
}

std::vector<int16_t> Music() {
    // Four bars of a I-vi-IV-V progression in C with a small melody over it, played twice.
    const int chords[4][3] = {{48, 52, 55}, {45, 48, 52}, {41, 45, 48}, {43, 47, 50}};
    const int melody[32] = {72, 76, 79, 76, 72, 74, 76, 79, 69, 72, 76, 72, 69, 71, 72, 76,
                            65, 69, 72, 69, 65, 67, 69, 72, 67, 71, 74, 71, 67, 69, 71, 74};
    const int beats = 64;
    const size_t frames = static_cast<size_t>((beats * Beat + 1.0) * Rate);
    std::vector<int16_t> samples(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / Rate;
        double left = 0, right = 0;
        for (int beat = 0; beat < beats; ++beat) {
            double start = beat * Beat;
            double local = t - start;
            if (local < 0 || local > 4 * Beat) {
                continue;
            }
            int bar = (beat / 8) % 4;
            if (beat % 4 == 0) {
                for (int note = 0; note < 3; ++note) {
                    double tone = Pluck(local, NoteFrequency(chords[bar][note]), 4 * Beat) * 0.18;
                    left += tone * (1.0 - 0.3 * note);
                    right += tone * (0.4 + 0.3 * note);
                }
            }
            double lead = Pluck(local, NoteFrequency(melody[beat % 32]), 1.5 * Beat) * 0.25;
            left += lead * 0.7;
            right += lead;
        }
        samples[2 * i] = static_cast<int16_t>(std::lround(std::clamp(left, -1.0, 1.0) * 30000));
        samples[2 * i + 1] = static_cast<int16_t>(std::lround(std::clamp(right, -1.0, 1.0) * 30000));
    }
    return samples;
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    PutLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);
    PutLE(out, 2, 2);
    PutLE(out, Rate, 4);
    PutLE(out, Rate * 4, 4);
    PutLE(out, 4, 2);
    PutLE(out, 16, 2);
    out.write("data", 4);
    PutLE(out, dataBytes, 4);
    for (int16_t sample : samples) {
        PutLE(out, static_cast<uint16_t>(sample), 2);
    }
    return static_cast<bool>(out);
}

bool WriteHeader(const std::string& path, size_t bytes) {
    // "MRTD", a format number and the header's length; the rest zeros. Holds neither probe signature.
    std::vector<char> header(bytes, 0);
    std::memcpy(header.data(), "MRTD", 4);
    header[4] = 1;
    header[8] = static_cast<char>(bytes & 0xFF);
    header[9] = static_cast<char>((bytes >> 8) & 0xFF);
    std::ofstream out(path, std::ios::binary);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    return static_cast<bool>(out);
}

bool Join(const std::string& path, const std::string& first, const std::string& second) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& part : {first, second}) {
        std::ifstream in(part, std::ios::binary);
        if (!in) {
            return false;
        }
        out << in.rdbuf();
    }
    return static_cast<bool>(out);
}
} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    bool ok = false;
    if (command == "music" && argc == 3) {
        ok = WriteWav(argv[2], Music());
    } else if (command == "header" && argc == 4 && std::stoul(argv[3]) % 16 == 0) {
        ok = WriteHeader(argv[2], std::stoul(argv[3]));
    } else if (command == "join" && argc == 5) {
        ok = Join(argv[2], argv[3], argv[4]);
    } else {
        std::cerr << "usage: demo_samples music <out.wav> | header <out> <bytes> | join <out> <a> <b>\n";
        return 2;
    }
    if (!ok) {
        std::cerr << "demo_samples: could not write " << argv[2] << "\n";
    }
    return ok ? 0 : 1;
}
