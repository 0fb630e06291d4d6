#pragma once

#include "hca_cipher.h"
#include "hca_frame_syntax.h"
#include "hca_header.h"
#include "hca_transform.h"

#include <cstdint>
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

    // Forgets the overlap, as at the start of the stream.
    void restart();

    // Whether frames depend on more of the past than the previous frame (the noise generator of
    // version 3 streams runs through the whole stream).
    bool carries_state_across_frames() const;

  private:
    struct Channel {
        ChannelLayout layout;
        uint8_t scale_factors[kSubframeSize + 8] = {}; // coded scale factors, then 3.0's HFR values
        uint8_t resolution[kSubframeSize] = {};
        uint8_t hfr_scale[8] = {};
        uint8_t intensity[kSubframes] = {};
        float gain[kSubframeSize] = {};
        uint16_t code_offset[kSubframeSize] = {}; // where the resolution's codes start in the decode table
        uint8_t code_bits[kSubframeSize] = {};
        FrameBlock spectra{};
        FrameBlock last{};
    };

    bool read_channel_head(BitReader& in, Channel& channel, int noise);
    void read_intensity(BitReader& in, Channel& channel);
    void read_spectra(BitReader& in);
    void fill_noise(Channel& channel, int subframe);
    void reconstruct_high_bands(Channel& channel);
    void apply_intensity(Channel& primary, Channel& secondary);
    void apply_mid_side(Channel& mid, Channel& side);
    void write_pcm(Channel& channel, unsigned index, std::span<int16_t> interleaved);
    void silence(std::span<int16_t> interleaved);

    Header header_;
    Cipher cipher_;
    std::array<uint8_t, 128> ath_;
    std::vector<Channel> channels_;
    std::vector<uint8_t> scratch_;
    uint32_t noise_seed_ = 1;
};

} // namespace hca
