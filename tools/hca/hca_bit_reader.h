#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
        return static_cast<uint32_t>((window_ >> 1) >> (63 - bits)); // 0 bits give 0
    }
    void skip(int bits) {
        window_ <<= bits;
        available_ -= bits;
    }
    uint32_t read(int bits) {
        const uint32_t value = peek(bits);
        skip(bits);
        return value;
    }
    size_t position() const { return next_byte_ * 8 - static_cast<size_t>(available_); }
    bool overrun(size_t limit_bits) const { return position() > limit_bits; }

  private:
    void refill() {
        if (next_byte_ + 8 <= data_.size()) {
            // Whole bytes that fit in the window, taken from one 8-byte load.
            uint64_t word = 0;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds" // GCC flags this branch even where it cannot run
            std::memcpy(&word, data_.data() + next_byte_, sizeof word);
#pragma GCC diagnostic pop
            if constexpr (std::endian::native == std::endian::little)
                word = __builtin_bswap64(word);
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
};

} // namespace hca
