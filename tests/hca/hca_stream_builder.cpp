#include "hca_stream_builder.h"

#include "hca_cipher.h"
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

void encrypt_stream(std::vector<uint8_t>& stream, unsigned type, uint64_t key_code) {
    const Header header = parse_header(stream);
    const size_t ciph = find_chunk(stream, "ciph");
    stream[ciph + 4] = static_cast<uint8_t>(type >> 8);
    stream[ciph + 5] = static_cast<uint8_t>(type);
    fix_header_crc(stream);
    // The decryption table, inverted.
    std::array<uint8_t, 256> decrypted;
    for (unsigned i = 0; i < 256; ++i)
        decrypted[i] = static_cast<uint8_t>(i);
    Cipher(type, key_code).decrypt(decrypted);
    std::array<uint8_t, 256> encrypt;
    for (unsigned i = 0; i < 256; ++i)
        encrypt[decrypted[i]] = static_cast<uint8_t>(i);
    for (uint32_t f = 0; f < header.frame_count; ++f) {
        auto frame =
            std::span(stream).subspan(header.header_size + size_t{f} * header.frame_size, header.frame_size);
        for (auto& byte : frame)
            byte = encrypt[byte];
        store_crc(frame);
    }
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
