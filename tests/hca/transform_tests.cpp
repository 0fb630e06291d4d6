// The transform pair: DCT-IV against its definition, and perfect reconstruction of analysis + synthesis.
#include "hca_tables.h"
#include "hca_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace hca {
namespace {

TEST(Dct4, MatchesTheDefinitionInEverySubframe) {
    std::mt19937 random(1);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    FrameBlock in;
    for (auto& row : in.rows)
        for (int s = 0; s < kSubframes; ++s)
            row[s] = uniform(random);
    FrameBlock out;
    dct4(in, out);
    for (int s = 0; s < kSubframes; ++s)
        for (int k = 0; k < kSubframeSize; ++k) {
            double sum = 0.0;
            for (int n = 0; n < kSubframeSize; ++n)
                sum += in[n][s] * std::cos(std::numbers::pi / kSubframeSize * (n + 0.5) * (k + 0.5));
            ASSERT_NEAR(out[k][s], sum * std::sqrt(2.0 / kSubframeSize), 1e-5) << k << " of " << s;
        }
}

TEST(LappedTransform, AnalysisThenSynthesisReconstructsAcrossFrames) {
    constexpr int kFrames = 3;
    std::mt19937 random(2);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    // Frame f analyses samples [f * 1024, f * 1024 + 1152). The first subframe is silent, as the
    // encoder's delay makes it: its overlap with the (absent) subframe before starts at zero.
    std::vector<float> signal(kFrames * kFrameSamples + kSubframeSize, 0.0f);
    for (int n = kSubframeSize; n < kFrames * kFrameSamples; ++n)
        signal[n] = uniform(random);
    FrameBlock last{};
    double worst = 0.0;
    for (int f = 0; f < kFrames; ++f) {
        FrameBlock coefficients;
        FrameBlock out;
        analyze(signal.data() + f * kFrameSamples, coefficients);
        synthesize(coefficients, last, out);
        for (int s = 0; s < kSubframes; ++s)
            for (int i = 0; i < kSubframeSize; ++i)
                worst = std::max(
                    worst, std::fabs(double(out[i][s]) - signal[f * kFrameSamples + s * kSubframeSize + i]));
    }
    EXPECT_LT(worst, 2e-6);
}

} // namespace
} // namespace hca
