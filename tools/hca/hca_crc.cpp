#include "hca_crc.h"

#include <array>

namespace hca {
namespace {

// by_distance[d][x] is the CRC contribution of byte x followed by d zero bytes, so eight bytes fold in
// with eight independent look-ups (the CRC is linear in its input).
using CrcTables = std::array<std::array<uint16_t, 256>, 8>;

CrcTables build_tables() {
    CrcTables t{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000u) ? (crc << 1) ^ 0x8005u : crc << 1;
        t[0][byte] = static_cast<uint16_t>(crc);
    }
    for (size_t d = 1; d < t.size(); ++d)
        for (unsigned x = 0; x < 256; ++x) {
            const unsigned previous = t[d - 1][x];
            t[d][x] = static_cast<uint16_t>((previous << 8) ^ t[0][previous >> 8]);
        }
    return t;
}

} // namespace

uint16_t crc16(std::span<const uint8_t> data) {
    static const CrcTables t = build_tables();
    unsigned crc = 0;
    size_t i = 0;
    for (; i + 8 <= data.size(); i += 8) {
        const uint8_t* p = data.data() + i;
        crc = t[7][(crc >> 8) ^ p[0]] ^ t[6][(crc & 0xFFu) ^ p[1]] ^ t[5][p[2]] ^ t[4][p[3]] ^ t[3][p[4]] ^
              t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    }
    for (; i < data.size(); ++i)
        crc = ((crc << 8) ^ t[0][(crc >> 8) ^ data[i]]) & 0xFFFFu;
    return static_cast<uint16_t>(crc);
}

} // namespace hca
