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

// Levels in order of rising packed noise: A major, B falling.
NoiseLevel level_at(int index) {
    return {static_cast<unsigned>(index / kBoundaryLevels),
            static_cast<unsigned>(kBoundaryLevels - 1 - index % kBoundaryLevels)};
}

// Resolution by noise position (see coefficient_resolution), over every position a frame can reach:
// scale factor and ATH terms from -157 to 254, the noise term from -1 to 511. Positions past 65 code
// nothing, so a coefficient that is not coded at all (scale factor 0) is given a position past them.
constexpr int kLowestPosition = -160;
constexpr int kUncoded = 1000;
constexpr int kPositions = kUncoded + 512 - kLowestPosition;

struct ResolutionByPosition {
    std::array<uint8_t, kPositions> resolution{};
};

constexpr ResolutionByPosition build_resolution_by_position() {
    ResolutionByPosition table{};
    for (int pos = kLowestPosition; pos < kPositions + kLowestPosition; ++pos)
        table.resolution[pos - kLowestPosition] = pos < 0 ? 15 : pos <= 65 ? kInvert[pos] : 0;
    return table;
}

constexpr ResolutionByPosition kResolutionByPosition = build_resolution_by_position();

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

// The noise position of each coefficient without the frame's noise term: the same at every level.
std::array<int, kSubframeSize> positions_without_noise(const ChannelFrame& frame,
                                                       const std::array<uint8_t, 128>& ath) {
    std::array<int, kSubframeSize> base{};
    for (unsigned i = 0; i < kSubframeSize; ++i) {
        const int sf = frame.peak_scale[i];
        base[i] = i >= frame.coded_count || sf == 0 ? kUncoded : ath[i] + 1 - ((5 * sf) >> 1);
    }
    return base;
}

// Bits of one channel at one noise level; fills the scale factors as written (0 where a coefficient
// is not worth even the smallest code) and the resolutions.
long channel_bits(const ChannelFrame& frame, const std::array<int, kSubframeSize>& base, int noise,
                  size_t channel, CostCache& cache, std::span<uint8_t, kSubframeSize + 8> scale_factors,
                  std::span<uint8_t, kSubframeSize> resolution) {
    long bits = 0;
    for (unsigned i = 0; i < frame.coded_count; ++i) {
        const int pos = base[i] + ((noise + static_cast<int>(i)) >> 8);
        const unsigned r = kResolutionByPosition.resolution[pos - kLowestPosition];
        resolution[i] = static_cast<uint8_t>(r);
        scale_factors[i] = r == 0 ? 0 : frame.peak_scale[i];
        if (r != 0)
            bits += cache.cost(channel, i, r);
    }
    std::copy_n(frame.hfr_scale.begin(), frame.listed_hfr, scale_factors.begin() + frame.coded_count);
    return bits + frame.side_bits +
           cheapest_scale_factor_coding(scale_factors.first(frame.coded_count + frame.listed_hfr)).bits;
}

} // namespace

NoiseLevel choose_noise_level(std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath,
                              long available_bits) {
    CostCache cache(channels);
    std::vector<std::array<int, kSubframeSize>> bases;
    for (const ChannelFrame& frame : channels)
        bases.push_back(positions_without_noise(frame, ath));
    std::array<uint8_t, kSubframeSize + 8> scale_factors{};
    std::array<uint8_t, kSubframeSize> resolution{};
    const auto bits_at = [&](int index) {
        const NoiseLevel level = level_at(index);
        const int noise = packed_noise(level.acceptable_noise, level.boundary);
        long bits = 0;
        for (size_t c = 0; c < channels.size(); ++c)
            bits += channel_bits(channels[c], bases[c], noise, c, cache, scale_factors, resolution);
        return bits;
    };
    int low = 0;
    int high = kLevelCount - 1;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (bits_at(middle) <= available_bits)
            high = middle;
        else
            low = middle + 1;
    }
    const NoiseLevel level = level_at(low);
    const int noise = packed_noise(level.acceptable_noise, level.boundary);
    for (size_t c = 0; c < channels.size(); ++c) {
        ChannelFrame& frame = channels[c];
        channel_bits(frame, bases[c], noise, c, cache, frame.scale_factors, frame.resolution);
        frame.scale_width = cheapest_scale_factor_coding(frame.scale_list()).delta_bits;
    }
    return level;
}

} // namespace hca
