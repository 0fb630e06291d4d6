#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Helpers that edit encoded streams and decode them whole.
namespace hca::testing {

// Offset of a header chunk tag, or npos.
size_t find_chunk(const std::vector<uint8_t>& stream, std::string_view tag);

// Recomputes the header's trailing CRC after the header was edited.
void fix_header_crc(std::vector<uint8_t>& stream);

// Interleaved samples of a whole stream decoded by our decoder.
std::vector<int16_t> decode_all(const std::vector<uint8_t>& stream, uint64_t key_code = 0,
                                std::vector<uint32_t>* damaged = nullptr);

} // namespace hca::testing
