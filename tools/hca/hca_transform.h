#pragma once

#include "hca_tables.h"

#include <array>

namespace hca {

using Block = std::array<float, kSubframeSize>;

// Orthonormal DCT-IV of 128 points, computed through a 64-point complex FFT. It is its own inverse.
void dct4(const Block& in, Block& out);

// Inverse transform of one subframe: DCT-IV, then the windowed overlap-add with `overlap`
// (the channel's memory of the previous subframe, zero at the start).
void synthesize(const Block& coefficients, Block& overlap, Block& out);

// Exact inverse of synthesize(): the coefficients of the subframe whose output spans `current`
// and whose tail overlaps `next`.
void analyze(const Block& current, const Block& next, Block& coefficients);

} // namespace hca
