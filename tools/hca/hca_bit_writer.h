#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace hca {

// Writes big-endian bit fields into a zero-filled buffer, most significant bit first.
class BitWriter {
  public:
    explicit BitWriter(std::span<uint8_t> data) : data_(data) {}

    // Writes the low `bits` bits (0..24) of value; bits past the end of the buffer are dropped.
    void write(uint32_t value, int bits);
    size_t position() const { return position_; }

  private:
    std::span<uint8_t> data_;
    size_t position_ = 0;
};

} // namespace hca
