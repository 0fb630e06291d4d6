#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace hca {

// Byte substitution applied to whole frames of an encrypted stream.
class Cipher {
  public:
    // Builds the table of cipher type 0, 1 or 56; type 56 uses the key code and optional subkey.
    // Throws FormatError for any other type.
    Cipher(unsigned type, uint64_t key_code, uint16_t subkey = 0);

    void decrypt(std::span<uint8_t> frame) const;
    void encrypt(std::span<uint8_t> frame) const; // the inverse substitution, for encoders
    bool is_identity() const { return identity_; }

  private:
    void build_keyless();
    void build_keyed(uint64_t key);

    std::array<uint8_t, 256> table_{};
    bool identity_ = true;
};

} // namespace hca
