#include "hca_bit_writer.h"

namespace hca {

void BitWriter::write(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        size_t byte = position_ >> 3;
        if (byte < data_.size() && ((value >> i) & 1u))
            data_[byte] |= static_cast<uint8_t>(0x80u >> (position_ & 7));
        ++position_;
    }
}

} // namespace hca
