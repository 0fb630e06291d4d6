#pragma once

#include "pcm_audio.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace hca {

enum class Quality { Highest, High, Middle, Low, Lowest };

std::optional<Quality> parse_quality(std::string_view name);

struct EncoderOptions {
    Quality quality = Quality::High;
    unsigned bitrate = 0; // bits per second; 0 takes the frame size from the quality
};

// Constant frame size in bytes for the options, channel count and sample rate.
uint16_t frame_size_for(const EncoderOptions& options, unsigned channels, unsigned sample_rate);

// Samples of pre-roll the encoder puts in front of the audio (one subframe).
constexpr unsigned kEncoderDelay = 128;

// Encodes planar audio as a version 2.0 stream: constant-size frames, no cipher, every channel
// coded on its own. Throws FormatError if the audio cannot be represented.
std::vector<uint8_t> encode(const PcmAudio& audio, const EncoderOptions& options);

} // namespace hca
