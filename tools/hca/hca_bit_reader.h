#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace hca {

// Reads big-endian bit fields, most significant bit first. Reading past the end yields zero bits,
// so a damaged frame cannot make the decoder touch memory outside it; callers check overrun().
class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

    // Reads `bits` bits (0..24).
    uint32_t read(int bits) {
        if (bits == 0)
            return 0;
        uint32_t window = load_window(position_ >> 3);
        uint32_t value = (window << (position_ & 7)) >> (32 - bits);
        position_ += static_cast<size_t>(bits);
        return value;
    }
    void step_back(int bits) { position_ -= static_cast<size_t>(bits); }
    size_t position() const { return position_; }
    bool overrun(size_t limit_bits) const { return position_ > limit_bits; }

  private:
    uint32_t load_window(size_t byte) const;

    std::span<const uint8_t> data_;
    size_t position_ = 0;
};

} // namespace hca
