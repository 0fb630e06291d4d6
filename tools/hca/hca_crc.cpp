#include "hca_crc.h"

#include <array>

namespace hca {
namespace {

// next[x] is the byte table; pair[x] advances a CRC whose high byte is x by one more zero byte, so two
// bytes are folded in per step (the CRC is linear in its input).
struct CrcTables {
    std::array<uint16_t, 256> next;
    std::array<uint16_t, 256> pair;
};

CrcTables build_tables() {
    CrcTables t{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) ? (crc << 1) ^ 0x8005u : crc << 1;
        t.next[byte] = static_cast<uint16_t>(crc);
    }
    for (unsigned x = 0; x < 256; ++x)
        t.pair[x] = static_cast<uint16_t>(((t.next[x] & 0xFFu) << 8) ^ t.next[t.next[x] >> 8]);
    return t;
}

} // namespace

uint16_t crc16(std::span<const uint8_t> data) {
    static const CrcTables t = build_tables();
    unsigned crc = 0;
    size_t i = 0;
    for (; i + 2 <= data.size(); i += 2)
        crc = t.pair[(crc >> 8) ^ data[i]] ^ t.next[(crc & 0xFFu) ^ data[i + 1]];
    if (i < data.size())
        crc = ((crc << 8) ^ t.next[(crc >> 8) ^ data[i]]) & 0xFFFFu;
    return static_cast<uint16_t>(crc);
}

} // namespace hca
