#include "hca_rate_control.h"

#include "hca_frame_syntax.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// Bits of every coefficient code at each resolution, computed on first use.
class CostCache {
  public:
    explicit CostCache(std::span<ChannelFrame> channels)
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
        int bits = 0;
        for (const Block& spectrum : frame.spectra)
            bits += coefficient_bits(resolution, quantize(spectrum[i], frame.scale_factors[i], resolution));
        return bits;
    }

    std::span<ChannelFrame> channels_;
    std::vector<int16_t> costs_;
};

long scale_factor_bits(std::span<ChannelFrame> channels) {
    long bits = 0;
    for (ChannelFrame& frame : channels) {
        auto values = std::span(frame.scale_factors.data(), frame.coded_count);
        frame.scale_width = best_scale_factor_width(values);
        bits += hca::scale_factor_bits(values, frame.scale_width);
    }
    return bits;
}

long bits_at(int level_index, std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath,
             CostCache& cache, bool store) {
    const NoiseLevel level = level_at(level_index);
    const int noise = packed_noise(level.acceptable_noise, level.boundary);
    long bits = 0;
    for (size_t c = 0; c < channels.size(); ++c) {
        ChannelFrame& frame = channels[c];
        for (unsigned i = 0; i < frame.coded_count; ++i) {
            unsigned r = coefficient_resolution(frame.scale_factors[i], ath[i], noise, i, 1, 15);
            bits += cache.cost(c, i, r);
            if (store)
                frame.resolution[i] = static_cast<uint8_t>(r);
        }
    }
    return bits;
}

} // namespace

int quantize(float coefficient, unsigned scale_factor, unsigned resolution) {
    if (resolution == 0)
        return 0;
    const Tables& t = tables();
    const float step = t.scale[scale_factor] * t.range[resolution];
    const int limit = max_coefficient(resolution);
    const int value = static_cast<int>(std::lround(coefficient / step));
    return std::clamp(value, -limit, limit);
}

// Zeroes the scale factors of the weakest coefficients until the highest noise level fits.
void drop_weakest(std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath, CostCache& cache,
                  long& available_bits) {
    constexpr size_t kBatch = 4;
    std::vector<std::pair<uint8_t*, int>> order; // scale factor, strength
    for (ChannelFrame& frame : channels)
        for (unsigned i = 0; i < frame.coded_count; ++i)
            if (frame.scale_factors[i] > 0)
                order.emplace_back(&frame.scale_factors[i],
                                   frame.scale_factors[i] * 256 - static_cast<int>(i));
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    const long budget = available_bits;
    size_t next = 0;
    for (;;) {
        available_bits = budget - scale_factor_bits(channels);
        if (next >= order.size() || bits_at(kLevelCount - 1, channels, ath, cache, false) <= available_bits)
            return;
        for (size_t end = std::min(order.size(), next + kBatch); next < end; ++next)
            *order[next].first = 0;
    }
}

NoiseLevel choose_noise_level(std::span<ChannelFrame> channels, const std::array<uint8_t, 128>& ath,
                              long available_bits) {
    CostCache cache(channels);
    drop_weakest(channels, ath, cache, available_bits);
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
