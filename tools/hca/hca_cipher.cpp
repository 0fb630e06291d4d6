#include "hca_cipher.h"

#include "hca_error.h"

#include <string>

namespace hca {
namespace {

// Sixteen nibbles from a linear congruential sequence seeded by one key byte.
std::array<uint8_t, 16> nibble_sequence(uint8_t k) {
    unsigned mul = ((k & 1u) << 3) | 5u;
    unsigned add = (k & 0xEu) | 1u;
    unsigned n = k >> 4;
    std::array<uint8_t, 16> sequence{};
    for (auto& out : sequence) {
        n = (n * mul + add) & 0xFu;
        out = static_cast<uint8_t>(n);
    }
    return sequence;
}

} // namespace

Cipher::Cipher(unsigned type, uint64_t key_code, uint16_t subkey) {
    for (unsigned i = 0; i < 256; ++i)
        table_[i] = static_cast<uint8_t>(i);
    switch (type) {
    case 0:
        return;
    case 1:
        build_keyless();
        return;
    case 56:
        if (subkey != 0)
            key_code *= (static_cast<uint64_t>(subkey) << 16) | ((~subkey + 2u) & 0xFFFFu);
        if (key_code != 0)
            build_keyed(key_code - 1);
        return;
    default:
        throw FormatError("unsupported cipher type " + std::to_string(type));
    }
}

void Cipher::build_keyless() {
    unsigned v = 0;
    for (int i = 1; i < 255; ++i) {
        v = (v * 13 + 11) & 0xFFu;
        if (v == 0 || v == 0xFF)
            v = (v * 13 + 11) & 0xFFu;
        table_[i] = static_cast<uint8_t>(v);
    }
    identity_ = false;
}

void Cipher::build_keyed(uint64_t key) {
    std::array<uint8_t, 7> kc{};
    for (int i = 0; i < 7; ++i)
        kc[i] = static_cast<uint8_t>(key >> (8 * i));
    const std::array<uint8_t, 16> seed = {
        kc[1], static_cast<uint8_t>(kc[1] ^ kc[6]), static_cast<uint8_t>(kc[2] ^ kc[3]),
        kc[2], static_cast<uint8_t>(kc[2] ^ kc[1]), static_cast<uint8_t>(kc[3] ^ kc[4]),
        kc[3], static_cast<uint8_t>(kc[3] ^ kc[2]), static_cast<uint8_t>(kc[4] ^ kc[5]),
        kc[4], static_cast<uint8_t>(kc[4] ^ kc[3]), static_cast<uint8_t>(kc[5] ^ kc[6]),
        kc[5], static_cast<uint8_t>(kc[5] ^ kc[4]), static_cast<uint8_t>(kc[6] ^ kc[1]),
        kc[6]};
    std::array<uint8_t, 256> base{};
    const auto rows = nibble_sequence(kc[0]);
    for (int r = 0; r < 16; ++r) {
        const auto cols = nibble_sequence(seed[r]);
        for (int c = 0; c < 16; ++c)
            base[r * 16 + c] = static_cast<uint8_t>((rows[r] << 4) | cols[c]);
    }
    unsigned x = 0;
    unsigned pos = 1;
    for (int i = 0; i < 256; ++i) {
        x = (x + 17) & 0xFFu;
        if (base[x] != 0 && base[x] != 0xFF && pos < 255)
            table_[pos++] = base[x];
    }
    table_[0] = 0;
    table_[255] = 255;
    identity_ = false;
}

void Cipher::decrypt(std::span<uint8_t> frame) const {
    if (identity_)
        return;
    for (auto& byte : frame)
        byte = table_[byte];
}

void Cipher::encrypt(std::span<uint8_t> frame) const {
    if (identity_)
        return;
    std::array<uint8_t, 256> inverse{};
    for (unsigned i = 0; i < 256; ++i)
        inverse[table_[i]] = static_cast<uint8_t>(i);
    for (auto& byte : frame)
        byte = inverse[byte];
}

} // namespace hca
