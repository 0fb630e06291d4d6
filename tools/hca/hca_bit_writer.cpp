#include "hca_bit_writer.h"

namespace hca {

void BitWriter::write(uint32_t value, int bits) {
    while (bits > 0) {
        const size_t byte = position_ >> 3;
        const int room = 8 - static_cast<int>(position_ & 7);
        const int take = bits < room ? bits : room;
        const uint32_t chunk = (value >> (bits - take)) & ((1u << take) - 1);
        if (byte < data_.size())
            data_[byte] |= static_cast<uint8_t>(chunk << (room - take));
        position_ += static_cast<size_t>(take);
        bits -= take;
    }
}

} // namespace hca
