#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hca {

// Planar samples in the range -1..1, read piece by piece so that a long track never has to be held in
// memory at once.
class PcmSource {
  public:
    virtual ~PcmSource() = default;
    virtual unsigned channel_count() const = 0;
    virtual unsigned sample_rate() const = 0;
    virtual uint64_t frames() const = 0;
    // Copies the sample frames [first, first + count), all inside the source, channel c to out[c].
    virtual void read(uint64_t first, size_t count, std::span<float* const> out) = 0;
};

// Planar audio held in memory.
struct PcmAudio {
    unsigned sample_rate = 0;
    std::vector<std::vector<float>> channels;

    size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

class PcmAudioSource : public PcmSource {
  public:
    explicit PcmAudioSource(const PcmAudio& audio) : audio_(audio) {}
    unsigned channel_count() const override { return static_cast<unsigned>(audio_.channels.size()); }
    unsigned sample_rate() const override { return audio_.sample_rate; }
    uint64_t frames() const override { return audio_.frames(); }
    void read(uint64_t first, size_t count, std::span<float* const> out) override {
        for (size_t c = 0; c < audio_.channels.size(); ++c)
            std::copy_n(audio_.channels[c].begin() + static_cast<std::ptrdiff_t>(first), count, out[c]);
    }

  private:
    const PcmAudio& audio_;
};

} // namespace hca
