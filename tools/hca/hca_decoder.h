#pragma once

#include "hca_cipher.h"
#include "hca_frame_syntax.h"
#include "hca_header.h"
#include "hca_transform.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace hca {

struct DecoderKey {
    uint64_t key_code = 0;
    uint16_t subkey = 0;
};

// Decodes the frames of one stream, keeping each channel's overlap between frames.
class Decoder {
  public:
    explicit Decoder(const Header& header, DecoderKey key = {});

    const Header& header() const { return header_; }

    // Decodes one frame of header().frame_size bytes into kFrameSamples interleaved samples per channel.
    // A damaged frame (bad sync, checksum or syntax) gives silence and returns false.
    bool decode_frame(std::span<const uint8_t> frame, std::span<int16_t> interleaved);

  private:
    struct Channel {
        ChannelLayout layout;
        uint8_t scale_factors[kSubframeSize + 8] = {}; // coded scale factors, then 3.0's HFR values
        uint8_t resolution[kSubframeSize] = {};
        uint8_t hfr_scale[8] = {};
        uint8_t intensity[kSubframes] = {};
        float gain[kSubframeSize] = {};
        Block spectrum{};
        Block overlap{};
        Block output{};
    };

    bool read_frame_head(BitReader& in);
    bool read_channel_head(BitReader& in, Channel& channel, int noise);
    void read_intensity(BitReader& in, Channel& channel);
    void read_spectrum(BitReader& in, Channel& channel);
    void fill_noise(Channel& channel);
    void reconstruct_high_bands(Channel& channel);
    void apply_intensity(Channel& primary, Channel& secondary, int subframe);
    void apply_mid_side(Channel& mid, Channel& side);
    void silence(std::span<int16_t> interleaved);

    Header header_;
    Cipher cipher_;
    std::array<uint8_t, 128> ath_;
    std::vector<Channel> channels_;
    std::vector<uint8_t> scratch_;
    uint32_t noise_seed_ = 1;
};

} // namespace hca

namespace hca {

// Receives each decoded frame: kFrameSamples interleaved samples per channel.
using FrameSink = std::function<void(std::span<const int16_t>)>;

// Decodes every frame of a stream held in memory (bytes after the last frame are ignored) and returns
// the indices of damaged frames, which come out as silence. Throws FormatError for a bad header or
// a stream shorter than its header says.
std::vector<uint32_t> decode_stream(std::span<const uint8_t> data, DecoderKey key, const FrameSink& sink);

} // namespace hca
