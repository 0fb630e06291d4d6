#include "hca_transform.h"

#include <cmath>
#include <numbers>

namespace hca {
namespace {

constexpr int kHalf = kSubframeSize / 2; // FFT size
constexpr int kLogHalf = 6;
constexpr int kLanes = kSubframes;

// Complex numbers kept as separate real and imaginary arrays, eight subframes per element.
struct ComplexBatch {
    alignas(kLanesAlignment) std::array<Lanes, kHalf> re;
    alignas(kLanesAlignment) std::array<Lanes, kHalf> im;
};

// Constants are kept broadcast to all lanes: multiplying a vector by a scalar makes the compiler
// assemble the broadcast through memory, and the store-to-load stall costs more than the arithmetic.
struct Twiddles {
    alignas(kLanesAlignment) std::array<Lanes, kHalf> re;
    alignas(kLanesAlignment) std::array<Lanes, kHalf> im;
};

struct Dct4Plan {
    Twiddles pre;                               // e^{i pi (n + 1/8) / N}
    Twiddles post;                              // the same twiddle with the output scale folded in
    std::array<Twiddles, kLogHalf> stage_roots; // per FFT stage: e^{i 2 pi j / size}, j < size / 2
    std::array<uint8_t, kHalf> bit_reversed;
    alignas(kLanesAlignment) std::array<Lanes, kSubframeSize> window;
};

void broadcast(Lanes& lanes, double value) {
    const float v = static_cast<float>(value);
    lanes = Lanes{v, v, v, v, v, v, v, v};
}

Dct4Plan build_plan() {
    Dct4Plan plan{};
    const double n = kSubframeSize;
    const double scale = std::sqrt(2.0 / n);
    for (int k = 0; k < kHalf; ++k) {
        const double angle = std::numbers::pi * (k + 0.125) / n;
        broadcast(plan.pre.re[k], std::cos(angle));
        broadcast(plan.pre.im[k], std::sin(angle));
        broadcast(plan.post.re[k], scale * std::cos(angle));
        broadcast(plan.post.im[k], scale * std::sin(angle));
        unsigned reversed = 0;
        for (int b = 0; b < kLogHalf; ++b)
            reversed |= ((k >> b) & 1u) << (kLogHalf - 1 - b);
        plan.bit_reversed[k] = static_cast<uint8_t>(reversed);
    }
    for (int stage = 0; stage < kLogHalf; ++stage) {
        const int size = 2 << stage;
        for (int j = 0; j < size / 2; ++j) {
            const double root = 2.0 * std::numbers::pi * j / size;
            broadcast(plan.stage_roots[stage].re[j], std::cos(root));
            broadcast(plan.stage_roots[stage].im[j], std::sin(root));
        }
    }
    for (int i = 0; i < kSubframeSize; ++i)
        broadcast(plan.window[i], tables().window[i]);
    return plan;
}

const Dct4Plan& plan() {
    static const Dct4Plan instance = build_plan();
    return instance;
}

// In-place radix-2 FFT with positive exponent, input already in bit-reversed order.
inline __attribute__((always_inline)) void fft(ComplexBatch& data, const Dct4Plan& p) {
    for (int a = 0; a < kHalf; a += 2) {
        const Lanes re = data.re[a + 1];
        const Lanes im = data.im[a + 1];
        data.re[a + 1] = data.re[a] - re;
        data.im[a + 1] = data.im[a] - im;
        data.re[a] += re;
        data.im[a] += im;
    }
    for (int stage = 1; stage < kLogHalf; ++stage) {
        const int half = 1 << stage;
        const Twiddles& roots = p.stage_roots[stage];
        for (int start = 0; start < kHalf; start += 2 * half) {
            for (int j = 0; j < half; ++j) {
                const int a = start + j;
                const int b = a + half;
                const Lanes& wr = roots.re[j];
                const Lanes& wi = roots.im[j];
                const Lanes odd_re = data.re[b] * wr - data.im[b] * wi;
                const Lanes odd_im = data.re[b] * wi + data.im[b] * wr;
                data.re[b] = data.re[a] - odd_re;
                data.im[b] = data.im[a] - odd_im;
                data.re[a] += odd_re;
                data.im[a] += odd_im;
            }
        }
    }
}

} // namespace

HCA_VECTOR_CLONES void dct4(const FrameBlock& in, FrameBlock& out) {
    // Even inputs form the real part and mirrored odd inputs the negated imaginary part; the FFT of the
    // twiddled sequence yields the even outputs in its real part and the mirrored odd ones in its imaginary.
    const Dct4Plan& p = plan();
    ComplexBatch z;
    for (int m = 0; m < kHalf; ++m) {
        const int slot = p.bit_reversed[m];
        const Lanes& pr = p.pre.re[m];
        const Lanes& pi = p.pre.im[m];
        const Lanes re = in[2 * m];
        const Lanes im = -in[kSubframeSize - 1 - 2 * m];
        z.re[slot] = re * pr - im * pi;
        z.im[slot] = re * pi + im * pr;
    }
    fft(z, p);
    for (int k = 0; k < kHalf; ++k) {
        const Lanes& qr = p.post.re[k];
        const Lanes& qi = p.post.im[k];
        out[2 * k] = z.re[k] * qr - z.im[k] * qi;
        out[kSubframeSize - 1 - 2 * k] = z.re[k] * qi + z.im[k] * qr;
    }
}

HCA_VECTOR_CLONES void synthesize(const FrameBlock& coefficients, FrameBlock& last, FrameBlock& out) {
    const auto& w = plan().window;
    FrameBlock x;
    dct4(coefficients, x);
    // Subframe s overlaps the transform of subframe s - 1; the first one that of the previous frame.
    FrameBlock before;
    for (int k = 0; k < kSubframeSize; ++k) {
        before[k] = __builtin_shufflevector(last[k], x[k], 7, 8, 9, 10, 11, 12, 13, 14);
        last[k] = x[k];
    }
    for (int i = 0; i < kHalf; ++i) {
        const Lanes& rise = w[i];
        const Lanes& fall = w[kSubframeSize - 1 - i];
        const Lanes& rise_late = w[kHalf + i];
        const Lanes& fall_late = w[kHalf - 1 - i];
        out[i] = rise * x[kHalf + i] + fall * before[kHalf - 1 - i];
        out[kHalf + i] = rise_late * x[kSubframeSize - 1 - i] - fall_late * before[i];
    }
}

HCA_VECTOR_CLONES void analyze(const float* samples, FrameBlock& coefficients) {
    // Each output pair (i, 127 - i) is an orthogonal, self-inverse 2x2 rotation of one value of this
    // subframe's transform and one of the previous subframe's, so the inverse applies the same rotation.
    const auto& w = tables().window; // the samples are gathered lane by lane here anyway
    FrameBlock x;
    for (int i = 0; i < kHalf; ++i) {
        const float a = w[i];
        const float b = w[kSubframeSize - 1 - i];
        for (int l = 0; l < kLanes; ++l) {
            const float* current = samples + l * kSubframeSize;
            const float* next = current + kSubframeSize;
            x[kHalf + i][l] = a * current[i] + b * current[kSubframeSize - 1 - i];
            x[kHalf - 1 - i][l] = b * next[i] - a * next[kSubframeSize - 1 - i];
        }
    }
    dct4(x, coefficients);
}

} // namespace hca
