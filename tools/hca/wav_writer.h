#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>

namespace hca {

// A loop region in sample frames, written as a sampler chunk.
struct WavLoop {
    uint64_t start = 0;
    uint64_t end = 0; // exclusive
};

// Writes the header of a 16-bit PCM WAV file whose data chunk will hold `frames` sample frames.
void write_wav_header(std::ostream& out, unsigned channels, unsigned sample_rate, uint64_t frames,
                      std::optional<WavLoop> loop = std::nullopt);

// Appends interleaved 16-bit samples in the file's little-endian order.
void write_wav_samples(std::ostream& out, std::span<const int16_t> samples);

} // namespace hca
