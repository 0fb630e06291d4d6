// Feeds arbitrary bytes to the HCA header parser and decoder; only crashes and sanitizer reports count.
#include "hca_decoder.h"
#include "hca_error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const auto input = std::span<const uint8_t>(data, size);
        const hca::Header header = hca::parse_header(input);
        // Keep each run short: long declared streams are cut to the frames present.
        hca::Header bounded = header;
        const uint64_t present = (size - header.header_size) / header.frame_size;
        bounded.frame_count = static_cast<uint32_t>(std::min<uint64_t>({present, header.frame_count, 64}));
        hca::Decoder decoder(bounded, {0x0123456789ABCDEFull, 0x1234});
        std::vector<int16_t> pcm(size_t{hca::kFrameSamples} * header.channels);
        for (uint32_t f = 0; f < bounded.frame_count; ++f)
            decoder.decode_frame(
                input.subspan(header.header_size + size_t{f} * header.frame_size, header.frame_size), pcm);
    } catch (const hca::FormatError&) {
    }
    return 0;
}
