#include "hca_frame_syntax.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace hca {
namespace {

// Channel types of one track by its channel count (intensity stereo pairs P with the S after it).
std::vector<ChannelType> track_types(unsigned count, unsigned config) {
    constexpr auto P = ChannelType::Primary;
    constexpr auto S = ChannelType::Secondary;
    constexpr auto D = ChannelType::Discrete;
    switch (count) {
    case 2:
        return {P, S};
    case 3:
        return {P, S, D};
    case 4:
        return config == 0 ? std::vector{P, S, P, S} : std::vector{P, S, D, D};
    case 5:
        return config <= 2 ? std::vector{P, S, D, P, S} : std::vector{P, S, D, D, D};
    case 6:
        return {P, S, D, D, P, S};
    case 7:
        return {P, S, D, D, P, S, D};
    case 8:
        return {P, S, D, D, P, S, P, S};
    default:
        return std::vector<ChannelType>(count, D);
    }
}

} // namespace

std::vector<ChannelLayout> channel_layouts(const Header& header) {
    std::vector<ChannelLayout> layouts(header.channels);
    unsigned per_track = header.channels / header.track_count;
    std::vector<ChannelType> types(header.channels, ChannelType::Discrete);
    if (header.stereo_band_count > 0 && per_track > 0) {
        auto track = track_types(per_track, header.channel_config);
        for (unsigned c = 0; c < header.channels; ++c)
            types[c] = track[c % per_track];
    }
    for (unsigned c = 0; c < header.channels; ++c) {
        layouts[c].type = types[c];
        layouts[c].coded_count = header.base_band_count + header.stereo_band_count;
        if (types[c] == ChannelType::Secondary)
            layouts[c].coded_count = header.base_band_count;
    }
    return layouts;
}

bool read_scale_factors(BitReader& in, std::span<uint8_t> out) {
    unsigned width = in.read(3);
    if (width == 0) {
        std::fill(out.begin(), out.end(), uint8_t{0});
        return true;
    }
    if (width >= 6) {
        for (auto& value : out)
            value = static_cast<uint8_t>(in.read(kScaleFactorBits));
        return true;
    }
    const int escape = (1 << width) - 1;
    const int half = escape >> 1;
    int value = static_cast<int>(in.read(kScaleFactorBits));
    bool valid = true;
    for (size_t i = 0; i < out.size(); ++i) {
        if (i > 0) {
            int t = static_cast<int>(in.read(static_cast<int>(width)));
            value = t == escape ? static_cast<int>(in.read(kScaleFactorBits)) : value + t - half;
        }
        if (value < 0 || value > 63) {
            valid = false;
            value = value < 0 ? 0 : 63;
        }
        out[i] = static_cast<uint8_t>(value);
    }
    return valid;
}

ScaleFactorCoding cheapest_scale_factor_coding(std::span<const uint8_t> values) {
    // Width d codes deltas up to (2^d - 1) / 2 in d bits; larger ones cost an escape and 6 more bits.
    // The escapes of the five widths are counted at once, one byte each of a 64-bit sum.
    constexpr int kWidths = 5;
    constexpr auto kEscapesOf = [] {
        std::array<uint64_t, 64> table{};
        for (int delta = 0; delta < 64; ++delta)
            for (int width = 1; width <= kWidths; ++width)
                table[delta] += uint64_t{delta > ((1 << width) - 1) / 2} << (8 * width);
        return table;
    }();
    const int count = static_cast<int>(values.size());
    unsigned any = count > 0 ? values[0] : 0;
    uint64_t escapes = 0;
    for (int i = 1; i < count; ++i) {
        any |= values[i];
        escapes += kEscapesOf[std::abs(values[i] - values[i - 1])];
    }
    if (any == 0)
        return {0, 3};
    ScaleFactorCoding best{6, 3 + kScaleFactorBits * count};
    for (int width = 1; width <= kWidths; ++width) {
        const int escaped = static_cast<int>((escapes >> (8 * width)) & 0xFF);
        const int bits = 3 + kScaleFactorBits + (count - 1) * width + kScaleFactorBits * escaped;
        if (bits < best.bits)
            best = {static_cast<unsigned>(width), bits};
    }
    return best;
}

void write_scale_factors(BitWriter& out, std::span<const uint8_t> values, unsigned delta_bits) {
    out.write(delta_bits, 3);
    if (delta_bits == 0)
        return;
    if (delta_bits >= 6) {
        for (uint8_t value : values)
            out.write(value, kScaleFactorBits);
        return;
    }
    const int escape = (1 << delta_bits) - 1;
    const int half = escape >> 1;
    out.write(values[0], kScaleFactorBits);
    for (size_t i = 1; i < values.size(); ++i) {
        int delta = values[i] - values[i - 1];
        if (delta >= -half && delta + half < escape) {
            out.write(static_cast<uint32_t>(delta + half), static_cast<int>(delta_bits));
            continue;
        }
        out.write(static_cast<uint32_t>(escape), static_cast<int>(delta_bits));
        out.write(values[i], kScaleFactorBits);
    }
}

void write_coefficient(BitWriter& out, unsigned resolution, int value) {
    if (resolution == 0)
        return;
    if (resolution <= 7) {
        const PrefixCode& code = kPrefixCodes.codes[resolution][value + 7];
        out.write(code.bits, code.length);
        return;
    }
    int bits = kMaxBits[resolution];
    if (value == 0) {
        out.write(0, bits - 1);
        return;
    }
    uint32_t magnitude = static_cast<uint32_t>(std::abs(value));
    out.write((magnitude << 1) | (value < 0 ? 1u : 0u), bits);
}

} // namespace hca
