#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace hca {

// Reads big-endian bit fields, most significant bit first, through a 64-bit window. Reading past
// the end yields zero bits, so a damaged frame cannot make the decoder touch memory outside it;
// callers check overrun().
class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

    // The next `bits` bits (0..32) without consuming them.
    uint32_t peek(int bits) {
        if (available_ < 32)
            refill();
        return bits == 0 ? 0 : static_cast<uint32_t>(window_ >> (64 - bits));
    }
    void skip(int bits) {
        window_ <<= bits;
        available_ -= bits;
        position_ += static_cast<size_t>(bits);
    }
    uint32_t read(int bits) {
        const uint32_t value = peek(bits);
        skip(bits);
        return value;
    }
    size_t position() const { return position_; }
    bool overrun(size_t limit_bits) const { return position_ > limit_bits; }

  private:
    void refill() {
        if (next_byte_ + 8 <= data_.size()) {
            // Whole bytes that fit in the window, taken from one 8-byte load.
            uint64_t word = 0;
            for (int i = 0; i < 8; ++i)
                word = (word << 8) | data_[next_byte_ + i];
            window_ |= word >> available_;
            next_byte_ += static_cast<size_t>((63 - available_) >> 3);
            available_ |= 56;
            return;
        }
        while (available_ <= 56) {
            const uint64_t byte = next_byte_ < data_.size() ? data_[next_byte_] : 0;
            ++next_byte_;
            window_ |= byte << (56 - available_);
            available_ += 8;
        }
    }

    std::span<const uint8_t> data_;
    uint64_t window_ = 0;
    int available_ = 0;
    size_t next_byte_ = 0;
    size_t position_ = 0;
};

} // namespace hca
