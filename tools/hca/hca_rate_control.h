#pragma once

#include "hca_transform.h"

#include <array>
#include <cstdint>
#include <span>

namespace hca {

// One channel of one frame as the encoder sees it before writing.
struct ChannelFrame {
    std::array<Block, kSubframes> spectra;
    std::array<uint8_t, kSubframeSize> scale_factors{};
    std::array<uint8_t, kSubframeSize> resolution{};
    unsigned coded_count = kSubframeSize;
    unsigned scale_width = 0; // delta width chosen for the scale factors
};

struct NoiseLevel {
    unsigned acceptable_noise = 0; // A, 9 bits
    unsigned boundary = 0;         // B, 7 bits
};

// The quantised value of a coefficient at a scale factor and resolution, as the decoder will scale it.
int quantize(float coefficient, unsigned scale_factor, unsigned resolution);

// Picks the lowest noise level at which the scale factors and coefficient codes fit in
// `available_bits`, and stores the resulting resolutions and scale factor widths in each channel.
// Resolutions only fall as the level rises, so a binary search over the levels finds it. When even
// the highest level does not fit (every coded coefficient costs at least one bit per subframe), the
// weakest coefficients are dropped first.
NoiseLevel choose_noise_level(std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath,
                              long available_bits);

} // namespace hca
