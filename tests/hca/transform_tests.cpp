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

TEST(Dct4, MatchesTheDefinition) {
    std::mt19937 random(1);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    Block in;
    for (auto& v : in)
        v = uniform(random);
    Block out;
    dct4(in, out);
    for (int k = 0; k < kSubframeSize; ++k) {
        double sum = 0.0;
        for (int n = 0; n < kSubframeSize; ++n)
            sum += in[n] * std::cos(std::numbers::pi / kSubframeSize * (n + 0.5) * (k + 0.5));
        EXPECT_NEAR(out[k], sum * std::sqrt(2.0 / kSubframeSize), 1e-5) << k;
    }
}

TEST(Window, IsPowerComplementary) {
    const auto& w = tables().window;
    for (int i = 0; i < kSubframeSize / 2; ++i) {
        EXPECT_GT(w[i], 0.0f);
        EXPECT_LT(w[kSubframeSize - 1 - i], 0.0f);
        EXPECT_NEAR(w[i] * w[i] + w[kSubframeSize - 1 - i] * w[kSubframeSize - 1 - i], 1.0, 1e-6);
    }
}

TEST(LappedTransform, AnalysisThenSynthesisReconstructsAfterOneSubframe) {
    constexpr int kBlocks = 20;
    std::mt19937 random(2);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<Block> signal(kBlocks + 1);
    for (int b = 0; b < kBlocks; ++b)
        for (auto& v : signal[b])
            v = uniform(random);
    signal[kBlocks].fill(0.0f);
    // Block b of the input comes out as block b + 1: the encoder's one-subframe delay.
    Block overlap{};
    Block zero{};
    Block coefficients;
    Block out;
    analyze(zero, signal[0], coefficients);
    synthesize(coefficients, overlap, out);
    for (float v : out)
        EXPECT_NEAR(v, 0.0f, 1e-6f);
    double worst = 0.0;
    for (int b = 0; b < kBlocks; ++b) {
        analyze(signal[b], signal[b + 1], coefficients);
        synthesize(coefficients, overlap, out);
        for (int i = 0; i < kSubframeSize; ++i)
            worst = std::max(worst, std::fabs(double(out[i]) - signal[b][i]));
    }
    EXPECT_LT(worst, 2e-6);
}

} // namespace
} // namespace hca
