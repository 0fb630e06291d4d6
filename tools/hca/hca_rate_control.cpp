#include "hca_rate_control.h"

#include "hca_frame_syntax.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace hca {
namespace {

constexpr int kBoundaryLevels = 128;
constexpr int kLevelCount = 512 * kBoundaryLevels;
constexpr int16_t kUnknown = -1;
constexpr unsigned kMinResolution = 1;
constexpr unsigned kMaxResolution = 15;

// Levels in order of rising packed noise: A major, B falling.
NoiseLevel level_at(int index) {
    return {static_cast<unsigned>(index / kBoundaryLevels),
            static_cast<unsigned>(kBoundaryLevels - 1 - index % kBoundaryLevels)};
}

// Bits of every coefficient's codes over the frame at each resolution, computed on first use.
class CostCache {
  public:
    explicit CostCache(std::span<const ChannelFrame> channels)
        : channels_(channels), costs_(channels.size() * kSubframeSize * 16, kUnknown) {}

    int cost(size_t channel, unsigned i, unsigned resolution) {
        int16_t& slot = costs_[(channel * kSubframeSize + i) * 16 + resolution];
        if (slot == kUnknown)
            slot = static_cast<int16_t>(measure(channels_[channel], i, resolution));
        return slot;
    }

  private:
    static int measure(const ChannelFrame& frame, unsigned i, unsigned resolution) {
        if (resolution == 0)
            return 0;
        const Quantizer quantizer(frame.peak_scale[i], resolution);
        int bits = 0;
        for (int s = 0; s < kSubframes; ++s)
            bits += coefficient_bits(resolution, quantizer(frame.spectra[i][s]));
        return bits;
    }

    std::span<const ChannelFrame> channels_;
    std::vector<int16_t> costs_;
};

// Scale factors, resolutions and their total bits for one channel at one noise level.
struct ChannelChoice {
    std::array<uint8_t, kSubframeSize> scale_factors{};
    std::array<uint8_t, kSubframeSize> resolution{};
    unsigned scale_width = 0;
    long bits = 0;
};

ChannelChoice choose_for_channel(const ChannelFrame& frame, size_t channel, int noise,
                                 const std::array<uint8_t, 128>& ath, CostCache& cache) {
    ChannelChoice choice;
    for (unsigned i = 0; i < frame.coded_count; ++i) {
        const unsigned sf = frame.peak_scale[i];
        // Below the noise level the coefficient is not worth even the smallest code.
        if (coefficient_resolution(sf, ath[i], noise, i, 0, kMaxResolution) == 0)
            continue;
        const unsigned r = coefficient_resolution(sf, ath[i], noise, i, kMinResolution, kMaxResolution);
        choice.scale_factors[i] = static_cast<uint8_t>(sf);
        choice.resolution[i] = static_cast<uint8_t>(r);
        choice.bits += cache.cost(channel, i, r);
    }
    auto values = std::span<const uint8_t>(choice.scale_factors.data(), frame.coded_count);
    const ScaleFactorCoding coding = cheapest_scale_factor_coding(values);
    choice.scale_width = coding.delta_bits;
    choice.bits += coding.bits;
    return choice;
}

long bits_at(int level_index, std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath,
             CostCache& cache, bool store) {
    const NoiseLevel level = level_at(level_index);
    const int noise = packed_noise(level.acceptable_noise, level.boundary);
    long bits = 0;
    for (size_t c = 0; c < channels.size(); ++c) {
        ChannelChoice choice = choose_for_channel(channels[c], c, noise, ath, cache);
        bits += choice.bits;
        if (store) {
            channels[c].scale_factors = choice.scale_factors;
            channels[c].resolution = choice.resolution;
            channels[c].scale_width = choice.scale_width;
        }
    }
    return bits;
}

} // namespace

NoiseLevel choose_noise_level(std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath,
                              long available_bits) {
    CostCache cache(channels);
    int low = 0;
    int high = kLevelCount - 1;
    while (low < high) {
        int middle = (low + high) / 2;
        if (bits_at(middle, channels, ath, cache, false) <= available_bits)
            high = middle;
        else
            low = middle + 1;
    }
    bits_at(low, channels, ath, cache, true);
    return level_at(low);
}

} // namespace hca
