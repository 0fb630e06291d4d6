#pragma once

#include <array>
#include <cstdint>

namespace hca {

constexpr int kSubframeSize = 128;
constexpr int kSubframes = 8;
constexpr int kFrameSamples = kSubframeSize * kSubframes;
constexpr int kMaxChannels = 16;

// Noise position -> resolution.
inline constexpr std::array<uint8_t, 66> kInvert = {
    14, 14, 14, 14, 14, 14, 13, 13, 13, 13, 13, 13, 12, 12, 12, 12, 12, 12, 11, 11, 11, 11,
    11, 11, 10, 10, 10, 10, 10, 10, 10, 9,  9,  9,  9,  9,  9,  8,  8,  8,  8,  8,  8,  7,
    6,  6,  5,  4,  4,  4,  3,  3,  3,  2,  2,  2,  2,  1,  1,  1,  1,  1,  1,  1,  1,  1};

// Bits read per coefficient code, by resolution.
inline constexpr std::array<uint8_t, 16> kMaxBits = {0, 2, 3, 3, 4, 4, 4, 4, 5, 6, 7, 8, 9, 10, 11, 12};

// Prefix codes of resolutions 1..7: length and value at index r * 16 + code (rows padded with zeros).
inline constexpr std::array<uint8_t, 128> kCodeLength = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, //
    1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, //
    2, 2, 2, 2, 2, 2, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, //
    2, 2, 3, 3, 3, 3, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, //
    3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, //
    3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, //
    3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, //
    3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4,
};

inline constexpr std::array<int8_t, 128> kCodeValue = {
    0, 0, 0, 0,  0,  0,  0, 0,  0,  0,  0, 0,  0,  0,  0, 0,  //
    0, 0, 1, -1, 0,  0,  0, 0,  0,  0,  0, 0,  0,  0,  0, 0,  //
    0, 0, 1, 1,  -1, -1, 2, -2, 0,  0,  0, 0,  0,  0,  0, 0,  //
    0, 0, 1, -1, 2,  -2, 3, -3, 0,  0,  0, 0,  0,  0,  0, 0,  //
    0, 0, 1, 1,  -1, -1, 2, 2,  -2, -2, 3, 3,  -3, -3, 4, -4, //
    0, 0, 1, 1,  -1, -1, 2, 2,  -2, -2, 3, -3, 4,  -4, 5, -5, //
    0, 0, 1, 1,  -1, -1, 2, -2, 3,  -3, 4, -4, 5,  -5, 6, -6, //
    0, 0, 1, -1, 2,  -2, 3, -3, 4,  -4, 5, -5, 6,  -6, 7, -7,
};

// The format's tables of real numbers, built once.
struct Tables {
    std::array<float, 64> scale;                        // scale factor -> peak amplitude
    std::array<float, 16> range;                        // resolution -> quantiser step relative to the peak
    std::array<float, 128> conv;                        // scale factor difference -> gain (HFR, noise fill)
    std::array<float, 16> intensity;                    // intensity index -> left ratio
    std::array<float, 128> window;                      // synthesis window
    std::array<uint8_t, 656> ath_curve;                 // absolute threshold of hearing, by frequency step
    std::array<std::array<float, 16>, 64> inverse_step; // [scale factor][resolution] -> 1 / quantiser step
};

Tables build_tables();

// Inline so that the hot loops that use it see a plain load once the tables exist.
inline const Tables& tables() {
    static const Tables instance = build_tables();
    return instance;
}

// The ATH offsets of the 128 coefficients for a header's ath type and sample rate.
std::array<uint8_t, 128> ath_table(unsigned ath_type, unsigned sample_rate);

} // namespace hca
