#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace hca {

// Writes big-endian bit fields into a zero-filled buffer, most significant bit first.
class BitWriter {
  public:
    explicit BitWriter(std::span<uint8_t> data) : data_(data) {}

    // Writes the low `bits` bits (0..24) of value; bits past the end of the buffer are dropped.
    void write(uint32_t value, int bits) {
        if (bits == 0)
            return; // an empty field would shift a word by its full width
        // The field and the bits before it in its first byte fit one 32-bit word, ORed into place.
        const size_t byte = position_ >> 3;
        const int shift = 32 - static_cast<int>(position_ & 7) - bits;
        const uint32_t word = (value & ((1u << bits) - 1)) << shift;
        position_ += static_cast<size_t>(bits);
        if (byte + 4 <= data_.size()) {
            uint32_t current = 0;
            std::memcpy(&current, data_.data() + byte, sizeof current);
            if constexpr (std::endian::native == std::endian::little)
                current |= __builtin_bswap32(word);
            else
                current |= word;
            std::memcpy(data_.data() + byte, &current, sizeof current);
            return;
        }
        for (int i = 0; i < 4; ++i)
            if (byte + i < data_.size())
                data_[byte + i] |= static_cast<uint8_t>(word >> (24 - 8 * i));
    }
    size_t position() const { return position_; }

  private:
    std::span<uint8_t> data_;
    size_t position_ = 0;
};

} // namespace hca
