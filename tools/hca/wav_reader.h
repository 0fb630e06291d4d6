#pragma once

#include "byte_source.h"
#include "pcm_audio.h"

#include <cstdint>
#include <span>
#include <vector>

namespace hca {

// A RIFF/WAVE file read piece by piece: 8-, 16-, 24- and 32-bit integer or 32-bit float PCM, plain or
// extensible format, 1 to 8 channels, chunks in any order. The constructor reads only the chunk headers
// and throws FormatError with a reason for anything else.
class WavReader : public PcmSource {
  public:
    explicit WavReader(const ByteSource& file);

    unsigned channel_count() const override { return channels_; }
    unsigned sample_rate() const override { return sample_rate_; }
    uint64_t frames() const override { return frames_; }
    void read(uint64_t first, size_t count, std::span<float* const> out) override;

  private:
    const ByteSource& file_;
    uint16_t tag_ = 0;
    unsigned channels_ = 0;
    unsigned sample_rate_ = 0;
    unsigned block_align_ = 0;
    unsigned bits_ = 0;
    uint64_t data_offset_ = 0;
    uint64_t frames_ = 0;
    std::vector<uint8_t> buffer_;
};

// A whole WAV file in memory, decoded at once.
PcmAudio read_wav(std::span<const uint8_t> file);

} // namespace hca
