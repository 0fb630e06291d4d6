#pragma once

#include "hca_tables.h"

#include <array>
#include <cstddef>

// Marks a function to be built twice, for the x86-64 baseline (a Lanes operation is two SSE
// instructions) and for AVX2 (one instruction); the loader picks the version the processor runs
// (ELF only: the choice is an indirect function, which Windows executables do not have).
#if defined(__x86_64__) && defined(__ELF__) && !defined(__SANITIZE_ADDRESS__)
#define HCA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define HCA_VECTOR_CLONES
#endif

namespace hca {

using Block = std::array<float, kSubframeSize>;

// One value of each of a frame's eight subframes, as a vector the compiler maps onto SIMD registers
// (two SSE registers on the x86-64 baseline). Element s is subframe s.
using Lanes = float __attribute__((vector_size(kSubframes * sizeof(float))));

// Arrays of Lanes are aligned explicitly: the baseline build gives the type 16-byte alignment, while
// the AVX2 versions of the transform load it with instructions that need 32.
constexpr size_t kLanesAlignment = sizeof(Lanes);

// The eight subframes of one channel's frame side by side: value[i][s] is coefficient (or sample) i of
// subframe s. Every step of the transform runs the same arithmetic on the eight subframes at once.
struct alignas(kLanesAlignment) FrameBlock {
    std::array<Lanes, kSubframeSize> rows;

    Lanes& operator[](size_t i) { return rows[i]; }
    const Lanes& operator[](size_t i) const { return rows[i]; }
};

// Orthonormal DCT-IV of 128 points of each subframe, computed through a 64-point complex FFT. It is its
// own inverse.
void dct4(const FrameBlock& in, FrameBlock& out);

// Inverse transform of a frame: the DCT-IV of each subframe, then the windowed overlap-add of each with
// the one before it. `last` holds the previous frame's DCT-IV outputs, of which the final subframe's
// count (zero at the start), and is updated. out[i][s] is sample s * 128 + i of the frame.
void synthesize(const FrameBlock& coefficients, FrameBlock& last, FrameBlock& out);

// Exact inverse of synthesize(): the coefficients of a frame from 1,152 input samples, the frame's eight
// subframes followed by the first subframe of the next frame.
void analyze(const float* samples, FrameBlock& coefficients);

} // namespace hca
