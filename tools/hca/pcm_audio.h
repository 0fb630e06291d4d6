#pragma once

#include <cstddef>
#include <vector>

namespace hca {

// Planar audio in the range -1..1.
struct PcmAudio {
    unsigned sample_rate = 0;
    std::vector<std::vector<float>> channels;

    size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

} // namespace hca
