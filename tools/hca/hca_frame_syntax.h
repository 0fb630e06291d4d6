#pragma once

#include "hca_bit_reader.h"
#include "hca_bit_writer.h"
#include "hca_header.h"
#include "hca_tables.h"

#include <cstdint>
#include <span>
#include <vector>

// The parts of the frame syntax that the decoder and the encoder share.
namespace hca {

constexpr uint16_t kFrameSync = 0xFFFF;
constexpr int kScaleFactorBits = 6;

enum class ChannelType { Discrete, Primary, Secondary };

struct ChannelLayout {
    ChannelType type = ChannelType::Discrete;
    unsigned coded_count = 0; // coefficients carried in the stream
};

std::vector<ChannelLayout> channel_layouts(const Header& header);

inline int packed_noise(unsigned acceptable_noise, unsigned boundary) {
    return static_cast<int>(acceptable_noise << 8) - static_cast<int>(boundary);
}

// Resolution of coefficient i from its scale factor, ATH offset and the frame's packed noise level.
inline unsigned coefficient_resolution(unsigned scale_factor, unsigned ath, int noise, unsigned i,
                                       unsigned min_resolution, unsigned max_resolution) {
    if (scale_factor == 0)
        return 0;
    int pos = static_cast<int>(ath) + ((noise + static_cast<int>(i)) >> 8) + 1 -
              static_cast<int>((5 * scale_factor) >> 1);
    unsigned resolution = pos < 0 ? 15 : pos <= 65 ? kInvert[pos] : 0;
    if (resolution < min_resolution)
        return min_resolution;
    return resolution > max_resolution ? max_resolution : resolution;
}

// Scale factors: a 3-bit delta width d, then the values (see write_scale_factors for the layout).
// Returns false when the stream's deltas leave the 0..63 range.
bool read_scale_factors(BitReader& in, std::span<uint8_t> out);
struct ScaleFactorCoding {
    unsigned delta_bits = 0;
    int bits = 0;
};
ScaleFactorCoding cheapest_scale_factor_coding(std::span<const uint8_t> values);
void write_scale_factors(BitWriter& out, std::span<const uint8_t> values, unsigned delta_bits);

// Every code of every resolution in one table: entry = value * 16 + code length, found at
// offset[resolution] + the next MAXBITS[resolution] bits. Decoding is then one look-up whatever the
// resolution, which changes from coefficient to coefficient and would defeat branch prediction.
struct CoefficientDecodeTable {
    static constexpr size_t kEntries =
        1 + 4 + 8 + 8 + 4 * 16 + ((1 << 13) - (1 << 5)); // resolutions 0..7, 8..15
    std::array<uint16_t, 16> offset{};
    std::array<int16_t, kEntries> entry{};
};

constexpr CoefficientDecodeTable build_coefficient_decode_table() {
    CoefficientDecodeTable table{};
    size_t next = 1; // entry 0 serves resolution 0: no bits, value 0
    for (unsigned r = 1; r < 16; ++r) {
        table.offset[r] = static_cast<uint16_t>(next);
        const int bits = kMaxBits[r];
        for (unsigned code = 0; code < (1u << bits); ++code) {
            int value = 0;
            int length = 0;
            if (r <= 7) {
                value = kCodeValue[r * 16 + code];
                length = kCodeLength[r * 16 + code];
            } else { // sign and magnitude; a zero magnitude has no sign bit
                const int magnitude = static_cast<int>(code >> 1);
                value = (code & 1u) ? -magnitude : magnitude;
                length = bits - (magnitude == 0 ? 1 : 0);
            }
            table.entry[next++] = static_cast<int16_t>(value * 16 + length);
        }
    }
    return table;
}

inline constexpr CoefficientDecodeTable kCoefficientDecode = build_coefficient_decode_table();

// A coefficient code whose resolution's codes start at `table_offset` and take `bits` bits.
inline int read_coefficient_code(BitReader& in, unsigned table_offset, int bits) {
    const int entry = kCoefficientDecode.entry[table_offset + in.peek(bits)];
    in.skip(entry & 15);
    return entry >> 4;
}

// Quantised coefficient codes of a given resolution.
inline int read_coefficient(BitReader& in, unsigned resolution) {
    return read_coefficient_code(in, kCoefficientDecode.offset[resolution], kMaxBits[resolution]);
}

// Largest value a resolution can code.
inline int max_coefficient(unsigned resolution) {
    return resolution <= 7 ? static_cast<int>(resolution) : (1 << (kMaxBits[resolution] - 1)) - 1;
}

// Code the encoder writes for (resolution, value): the top bits of a code with that value.
struct PrefixCode {
    uint8_t bits = 0;
    uint8_t length = 0;
};

struct PrefixCodeTable {
    PrefixCode codes[8][15]{}; // [resolution][value + 7]
};

constexpr PrefixCodeTable build_prefix_codes() {
    PrefixCodeTable table{};
    for (unsigned r = 1; r <= 7; ++r) {
        const unsigned width = kMaxBits[r];
        for (unsigned code = (1u << width); code-- > 0;) {
            const unsigned index = r * 16 + code;
            PrefixCode& entry = table.codes[r][kCodeValue[index] + 7];
            entry.length = kCodeLength[index];
            entry.bits = static_cast<uint8_t>(code >> (width - entry.length));
        }
    }
    return table;
}

inline constexpr PrefixCodeTable kPrefixCodes = build_prefix_codes();

inline int coefficient_bits(unsigned resolution, int value) {
    if (resolution <= 7)
        return resolution == 0 ? 0 : kPrefixCodes.codes[resolution][value + 7].length;
    return kMaxBits[resolution] - (value == 0 ? 1 : 0);
}

void write_coefficient(BitWriter& out, unsigned resolution, int value);

} // namespace hca
