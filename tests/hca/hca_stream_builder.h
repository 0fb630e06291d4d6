#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Helpers that rewrite encoded streams the way other encoders would have written them.
namespace hca::testing {

// Offset of a header chunk tag, or npos.
size_t find_chunk(const std::vector<uint8_t>& stream, std::string_view tag);

// Recomputes the header's trailing CRC after the header was edited.
void fix_header_crc(std::vector<uint8_t>& stream);

// Encrypts every frame with the cipher of `type` (and key for 56), marks it in the ciph chunk and
// stores the CRCs over the encrypted bytes, as an encrypting encoder does.
void encrypt_stream(std::vector<uint8_t>& stream, unsigned type, uint64_t key_code);

// Interleaved samples of a whole stream decoded by our decoder.
std::vector<int16_t> decode_all(const std::vector<uint8_t>& stream, uint64_t key_code = 0,
                                std::vector<uint32_t>* damaged = nullptr);

} // namespace hca::testing
