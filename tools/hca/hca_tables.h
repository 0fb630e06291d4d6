#pragma once

#include <array>
#include <cstdint>

namespace hca {

constexpr int kSubframeSize = 128;
constexpr int kSubframes = 8;
constexpr int kFrameSamples = kSubframeSize * kSubframes;
constexpr int kMaxChannels = 16;

// The format's fixed tables, built once.
struct Tables {
    std::array<uint8_t, 66> invert;       // noise position -> resolution
    std::array<uint8_t, 16> max_bits;     // bits read per coefficient code, by resolution
    std::array<uint8_t, 128> code_length; // prefix codes of resolutions 1..7, index r*16+code
    std::array<int8_t, 128> code_value;   // value of each prefix code
    std::array<float, 64> scale;          // scale factor -> peak amplitude
    std::array<float, 16> range;          // resolution -> quantiser step relative to the peak
    std::array<float, 128> conv;          // scale factor difference -> gain (HFR, noise fill)
    std::array<float, 16> intensity;      // intensity index -> left ratio
    std::array<float, 128> window;        // synthesis window
    std::array<uint8_t, 656> ath_curve;   // absolute threshold of hearing, by frequency step
};

const Tables& tables();

// The ATH offsets of the 128 coefficients for a header's ath type and sample rate.
std::array<uint8_t, 128> ath_table(unsigned ath_type, unsigned sample_rate);

} // namespace hca
