#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace hca {

// A loop region in sample frames, written as a sampler chunk.
struct WavLoop {
    uint64_t start = 0;
    uint64_t end = 0; // exclusive
};

// The header of a 16-bit PCM WAV file whose data chunk will hold `frames` sample frames.
std::vector<uint8_t> wav_header(unsigned channels, unsigned sample_rate, uint64_t frames,
                                std::optional<WavLoop> loop = std::nullopt);

// The bytes of interleaved 16-bit samples in the file's little-endian order, converted in place.
std::span<const uint8_t> wav_sample_bytes(std::span<int16_t> samples);

} // namespace hca
