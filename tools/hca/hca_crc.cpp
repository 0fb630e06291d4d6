#include "hca_crc.h"

#include <array>

namespace hca {
namespace {

std::array<uint16_t, 256> build_table() {
    std::array<uint16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) ? (crc << 1) ^ 0x8005u : crc << 1;
        table[byte] = static_cast<uint16_t>(crc);
    }
    return table;
}

} // namespace

uint16_t crc16(std::span<const uint8_t> data) {
    static const std::array<uint16_t, 256> table = build_table();
    unsigned crc = 0;
    for (uint8_t byte : data)
        crc = ((crc << 8) ^ table[((crc >> 8) ^ byte) & 0xFF]) & 0xFFFF;
    return static_cast<uint16_t>(crc);
}

} // namespace hca
