#include "hca_stream_builder.h"

#include "hca_crc.h"
#include "hca_stream_decoding.h"

#include <algorithm>
#include <string>

namespace hca::testing {
namespace {

void store_crc(std::span<uint8_t> block) {
    const uint16_t crc = crc16(block.first(block.size() - 2));
    block[block.size() - 2] = static_cast<uint8_t>(crc >> 8);
    block[block.size() - 1] = static_cast<uint8_t>(crc);
}

} // namespace

size_t find_chunk(const std::vector<uint8_t>& stream, std::string_view tag) {
    auto it = std::search(stream.begin(), stream.end(), tag.begin(), tag.end());
    return it == stream.end() ? std::string::npos : static_cast<size_t>(it - stream.begin());
}

void fix_header_crc(std::vector<uint8_t>& stream) {
    const size_t header_size = (stream[6] << 8) | stream[7];
    store_crc(std::span(stream).first(header_size));
}

std::vector<int16_t> decode_all(const std::vector<uint8_t>& stream, uint64_t key_code,
                                std::vector<uint32_t>* damaged) {
    std::vector<int16_t> out;
    auto bad = decode_stream(stream, {key_code, 0}, [&](std::span<const int16_t> pcm) {
        out.insert(out.end(), pcm.begin(), pcm.end());
    });
    if (damaged)
        *damaged = bad;
    return out;
}

} // namespace hca::testing
