#pragma once

#include "hca_frame_syntax.h"
#include "hca_transform.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace hca {

// One channel of one frame as the encoder sees it before writing.
struct ChannelFrame {
    FrameBlock spectra;                              // spectra[i][s]: coefficient i of subframe s
    std::array<uint8_t, kSubframeSize> peak_scale{}; // scale factor covering each coefficient's peak
    // As written: 0 for coefficients not coded; version 3 appends the HFR scale factors.
    std::array<uint8_t, kSubframeSize + 8> scale_factors{};
    std::array<uint8_t, kSubframeSize> resolution{};
    std::array<uint8_t, 8> hfr_scale{};
    std::array<uint8_t, kSubframes> intensity{};
    unsigned coded_count = kSubframeSize;
    bool secondary = false;   // the second of an intensity stereo pair: writes intensity values
    unsigned listed_hfr = 0;  // HFR scale factors coded in the scale factor list (version 3)
    long side_bits = 0;       // bits of the channel's other fields: HFR or intensity values
    unsigned scale_width = 0; // delta width chosen for the scale factors

    std::span<const uint8_t> scale_list() const { return {scale_factors.data(), coded_count + listed_hfr}; }
};

struct NoiseLevel {
    unsigned acceptable_noise = 0; // A, 9 bits
    unsigned boundary = 0;         // B, 7 bits
};

// Quantises coefficients at one scale factor and resolution, as the decoder will scale them back.
class Quantizer {
  public:
    Quantizer() = default;
    Quantizer(unsigned scale_factor, unsigned resolution)
        : inverse_step_(resolution == 0 ? 0.0f : tables().inverse_step[scale_factor][resolution]),
          limit_(static_cast<float>(max_coefficient(resolution))) {}

    // Written so that a loop over the eight subframes vectorises (and a NaN input stays in range).
    int operator()(float coefficient) const {
        float scaled = coefficient * inverse_step_;
        scaled = scaled < limit_ ? scaled : limit_;
        scaled = scaled > -limit_ ? scaled : -limit_;
        return static_cast<int>(scaled + (scaled < 0.0f ? -0.5f : 0.5f));
    }

  private:
    float inverse_step_ = 0.0f;
    float limit_ = 0.0f;
};

// Picks the lowest noise level at which the scale factors and coefficient codes fit in
// `available_bits`, and stores the resulting scale factors, resolutions and scale factor widths in
// each channel. Coefficients that the level would not resolve at all are not coded (scale factor 0),
// so the highest level codes nothing and always fits. Bits only fall as the level rises, so a binary
// search over the levels finds it.
NoiseLevel choose_noise_level(std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath,
                              long available_bits);

} // namespace hca
