#include "hca_transform.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace hca {
namespace {

constexpr int kHalf = kSubframeSize / 2; // FFT size
constexpr int kLogHalf = 6;

struct Dct4Plan {
    std::array<std::complex<float>, kHalf> pre;   // e^{i pi (n + 1/8) / N}
    std::array<std::complex<float>, kHalf> post;  // the same twiddle with the output scale folded in
    std::array<std::complex<float>, kHalf> roots; // e^{i 2 pi k / M}
    std::array<uint8_t, kHalf> bit_reversed;
};

Dct4Plan build_plan() {
    Dct4Plan plan{};
    const double n = kSubframeSize;
    const double scale = std::sqrt(2.0 / n);
    for (int k = 0; k < kHalf; ++k) {
        double angle = std::numbers::pi * (k + 0.125) / n;
        plan.pre[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
        plan.post[k] = {static_cast<float>(scale * std::cos(angle)),
                        static_cast<float>(scale * std::sin(angle))};
        double root = 2.0 * std::numbers::pi * k / kHalf;
        plan.roots[k] = {static_cast<float>(std::cos(root)), static_cast<float>(std::sin(root))};
        unsigned reversed = 0;
        for (int b = 0; b < kLogHalf; ++b)
            reversed |= ((k >> b) & 1u) << (kLogHalf - 1 - b);
        plan.bit_reversed[k] = static_cast<uint8_t>(reversed);
    }
    return plan;
}

const Dct4Plan& plan() {
    static const Dct4Plan instance = build_plan();
    return instance;
}

// In-place radix-2 FFT with positive exponent, input already in bit-reversed order.
void fft(std::array<std::complex<float>, kHalf>& data, const Dct4Plan& p) {
    for (int size = 2; size <= kHalf; size <<= 1) {
        int half = size >> 1;
        int stride = kHalf / size;
        for (int start = 0; start < kHalf; start += size) {
            for (int j = 0; j < half; ++j) {
                std::complex<float> twiddle = p.roots[j * stride];
                std::complex<float> odd = data[start + j + half] * twiddle;
                data[start + j + half] = data[start + j] - odd;
                data[start + j] += odd;
            }
        }
    }
}

} // namespace

void dct4(const Block& in, Block& out) {
    // Even inputs form the real part and mirrored odd inputs the negated imaginary part; the FFT of the
    // twiddled sequence yields the even outputs in its real part and the mirrored odd ones in its imaginary.
    const Dct4Plan& p = plan();
    std::array<std::complex<float>, kHalf> z;
    for (int m = 0; m < kHalf; ++m)
        z[p.bit_reversed[m]] = std::complex<float>(in[2 * m], -in[kSubframeSize - 1 - 2 * m]) * p.pre[m];
    fft(z, p);
    for (int k = 0; k < kHalf; ++k) {
        std::complex<float> y = z[k] * p.post[k];
        out[2 * k] = y.real();
        out[kSubframeSize - 1 - 2 * k] = y.imag();
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
