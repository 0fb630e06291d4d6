#include "hca_transform.h"

#include <cmath>
#include <numbers>

namespace hca {
namespace {

constexpr int kHalf = kSubframeSize / 2; // FFT size
constexpr int kLogHalf = 6;

// Complex numbers kept as separate real and imaginary arrays: plain float arithmetic vectorises.
struct ComplexArray {
    std::array<float, kHalf> re;
    std::array<float, kHalf> im;
};

struct Dct4Plan {
    ComplexArray pre;                               // e^{i pi (n + 1/8) / N}
    ComplexArray post;                              // the same twiddle with the output scale folded in
    std::array<ComplexArray, kLogHalf> stage_roots; // per FFT stage: e^{i 2 pi j / size}, j < size / 2
    std::array<uint8_t, kHalf> bit_reversed;
};

Dct4Plan build_plan() {
    Dct4Plan plan{};
    const double n = kSubframeSize;
    const double scale = std::sqrt(2.0 / n);
    for (int k = 0; k < kHalf; ++k) {
        const double angle = std::numbers::pi * (k + 0.125) / n;
        plan.pre.re[k] = static_cast<float>(std::cos(angle));
        plan.pre.im[k] = static_cast<float>(std::sin(angle));
        plan.post.re[k] = static_cast<float>(scale * std::cos(angle));
        plan.post.im[k] = static_cast<float>(scale * std::sin(angle));
        unsigned reversed = 0;
        for (int b = 0; b < kLogHalf; ++b)
            reversed |= ((k >> b) & 1u) << (kLogHalf - 1 - b);
        plan.bit_reversed[k] = static_cast<uint8_t>(reversed);
    }
    for (int stage = 0; stage < kLogHalf; ++stage) {
        const int size = 2 << stage;
        for (int j = 0; j < size / 2; ++j) {
            const double root = 2.0 * std::numbers::pi * j / size;
            plan.stage_roots[stage].re[j] = static_cast<float>(std::cos(root));
            plan.stage_roots[stage].im[j] = static_cast<float>(std::sin(root));
        }
    }
    return plan;
}

const Dct4Plan& plan() {
    static const Dct4Plan instance = build_plan();
    return instance;
}

// In-place radix-2 FFT with positive exponent, input already in bit-reversed order.
// Twiddles are stored contiguously per stage so the inner loop vectorises.
void fft(ComplexArray& data, const Dct4Plan& p) {
    for (int a = 0; a < kHalf; a += 2) {
        const float re = data.re[a + 1];
        const float im = data.im[a + 1];
        data.re[a + 1] = data.re[a] - re;
        data.im[a + 1] = data.im[a] - im;
        data.re[a] += re;
        data.im[a] += im;
    }
    for (int stage = 1; stage < kLogHalf; ++stage) {
        const int half = 1 << stage;
        const ComplexArray& roots = p.stage_roots[stage];
        for (int start = 0; start < kHalf; start += 2 * half) {
            for (int j = 0; j < half; ++j) {
                const int a = start + j;
                const int b = a + half;
                const float wr = roots.re[j];
                const float wi = roots.im[j];
                const float odd_re = data.re[b] * wr - data.im[b] * wi;
                const float odd_im = data.re[b] * wi + data.im[b] * wr;
                data.re[b] = data.re[a] - odd_re;
                data.im[b] = data.im[a] - odd_im;
                data.re[a] += odd_re;
                data.im[a] += odd_im;
            }
        }
    }
}

} // namespace

void dct4(const Block& in, Block& out) {
    // Even inputs form the real part and mirrored odd inputs the negated imaginary part; the FFT of the
    // twiddled sequence yields the even outputs in its real part and the mirrored odd ones in its imaginary.
    const Dct4Plan& p = plan();
    ComplexArray z;
    for (int m = 0; m < kHalf; ++m) {
        const float re = in[2 * m];
        const float im = -in[kSubframeSize - 1 - 2 * m];
        const int slot = p.bit_reversed[m];
        z.re[slot] = re * p.pre.re[m] - im * p.pre.im[m];
        z.im[slot] = re * p.pre.im[m] + im * p.pre.re[m];
    }
    fft(z, p);
    for (int k = 0; k < kHalf; ++k) {
        out[2 * k] = z.re[k] * p.post.re[k] - z.im[k] * p.post.im[k];
        out[kSubframeSize - 1 - 2 * k] = z.re[k] * p.post.im[k] + z.im[k] * p.post.re[k];
    }
}

void synthesize(const Block& coefficients, Block& overlap, Block& out) {
    const auto& w = tables().window;
    Block x;
    dct4(coefficients, x);
    for (int i = 0; i < kHalf; ++i) {
        out[i] = w[i] * x[kHalf + i] + overlap[i];
        out[kHalf + i] = w[kHalf + i] * x[kSubframeSize - 1 - i] - overlap[kHalf + i];
    }
    for (int i = 0; i < kHalf; ++i) {
        overlap[i] = w[kSubframeSize - 1 - i] * x[kHalf - 1 - i];
        overlap[kHalf + i] = w[kHalf - 1 - i] * x[i];
    }
}

void analyze(const Block& current, const Block& next, Block& coefficients) {
    // Each output pair (i, 127 - i) is an orthogonal, self-inverse 2x2 rotation of one value of this
    // subframe's transform and one of the previous subframe's, so the inverse applies the same rotation.
    const auto& w = tables().window;
    Block x;
    for (int i = 0; i < kHalf; ++i) {
        float a = w[i];
        float b = w[kSubframeSize - 1 - i];
        x[kHalf + i] = a * current[i] + b * current[kSubframeSize - 1 - i];
        x[kHalf - 1 - i] = b * next[i] - a * next[kSubframeSize - 1 - i];
    }
    dct4(x, coefficients);
}

} // namespace hca
