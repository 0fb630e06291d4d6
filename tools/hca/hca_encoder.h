#pragma once

#include "pcm_audio.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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

// Receives the stream's bytes at their offsets: the header first, then the frames in order.
using StreamSink = std::function<void(uint64_t offset, std::span<const uint8_t> bytes)>;

// Encodes audio as a version 2.0 stream: constant-size frames, no cipher, every channel coded on its
// own. Reads the source a few frames at a time, so memory does not grow with the track. Throws
// FormatError if the audio cannot be represented.
void encode(PcmSource& source, const EncoderOptions& options, const StreamSink& sink);

// The whole stream of audio held in memory.
std::vector<uint8_t> encode(const PcmAudio& audio, const EncoderOptions& options);

} // namespace hca
