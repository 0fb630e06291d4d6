#pragma once

#include "pcm_audio.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hca {

enum class Quality { Highest, High, Middle, Low, Lowest };

std::optional<Quality> parse_quality(std::string_view name);

// Stream features the tool's own command lines never ask for; the defaults write plain version 2.0.
struct StreamFeatures {
    uint16_t version = 0x0200;    // 0x0103 (dec chunk), 0x0200 or 0x0300
    unsigned hfr_bands = 0;       // top bands rebuilt from lower ones (not before 2.0)
    unsigned intensity_bands = 0; // bands a channel pair codes once, with a left/right ratio (2.0 only)
    bool other_ath = false;       // the ATH curve the version does not use by default, in an ath chunk
    unsigned cipher_type = 0;     // 0, 1 or 56 (with key_code)
    uint64_t key_code = 0;
    std::optional<std::pair<uint64_t, uint64_t>> loop; // input samples [first, end)
    float volume = 1.0f;                               // applied to the samples and noted in an rva chunk
    std::string comment;                               // a comm chunk
};

struct EncoderOptions {
    Quality quality = Quality::High;
    unsigned bitrate = 0; // bits per second; 0 takes the frame size from the quality
    StreamFeatures features;
};

// Constant frame size in bytes for the options, channel count and sample rate.
uint16_t frame_size_for(const EncoderOptions& options, unsigned channels, unsigned sample_rate);

// Samples of pre-roll the encoder puts in front of the audio (one subframe).
constexpr unsigned kEncoderDelay = 128;

// Receives the stream's bytes at their offsets: the header first, then the frames in order.
using StreamSink = std::function<void(uint64_t offset, std::span<const uint8_t> bytes)>;

// Encodes audio as constant-size frames, by default a version 2.0 stream without cipher that codes
// every channel and band on its own. Reads the source a few frames at a time, so memory does not grow
// with the track. Throws FormatError if the audio or the features cannot be represented.
void encode(PcmSource& source, const EncoderOptions& options, const StreamSink& sink);

// The whole stream of audio held in memory.
std::vector<uint8_t> encode(const PcmAudio& audio, const EncoderOptions& options);

} // namespace hca
