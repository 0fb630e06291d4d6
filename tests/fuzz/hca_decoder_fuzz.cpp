// Feeds arbitrary bytes to the HCA header parser and decoder; only crashes and sanitizer reports count.
// Checksums are repaired first, or nearly every mutation would stop at the CRC checks.
#include "hca_crc.h"
#include "hca_decoder.h"
#include "hca_error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t kMaxFrames = 64;

void store_crc(std::span<uint8_t> block) {
    const uint16_t crc = hca::crc16(block.first(block.size() - 2));
    block[block.size() - 2] = static_cast<uint8_t>(crc >> 8);
    block[block.size() - 1] = static_cast<uint8_t>(crc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> input(data, data + size);
    const size_t header_size = size >= 8 ? (size_t{input[6]} << 8) | input[7] : 0;
    if (header_size >= 10 && header_size <= size)
        store_crc(std::span(input).first(header_size));
    try {
        const hca::Header header = hca::parse_header(input);
        const uint64_t present = (size - header.header_size) / header.frame_size;
        hca::Header bounded = header;
        bounded.frame_count =
            static_cast<uint32_t>(std::min<uint64_t>({present, header.frame_count, kMaxFrames}));
        hca::Decoder decoder(bounded, {0x0123456789ABCDEFull, 0x1234});
        std::vector<int16_t> pcm(size_t{hca::kFrameSamples} * header.channels);
        for (uint32_t f = 0; f < bounded.frame_count; ++f) {
            auto frame = std::span(input).subspan(header.header_size + size_t{f} * header.frame_size,
                                                  header.frame_size);
            // Most frames get a valid sync and checksum; every eighth keeps its damage.
            if (f % 8 != 7) {
                frame[0] = frame[1] = 0xFF;
                store_crc(frame);
            }
            decoder.decode_frame(frame, pcm);
        }
    } catch (const hca::FormatError&) {
    }
    return 0;
}
