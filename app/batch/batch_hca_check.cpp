#include "app/batch/batch_hca_check.h"
#include "hca_error.h"
#include "hca_stream_decoding.h"
#include <algorithm>
#include <cstring>
#include <thread>

namespace batch {
bool HcaStreamDecodes(std::string_view stream) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    if (!hca::has_hca_signature(bytes)) {
        return false;
    }
    try {
        const hca::Header header = hca::parse_header(bytes);
        hca::check_stream_size(header, bytes.size());
        hca::FrameIo io;
        io.read = [&](uint32_t first, std::span<uint8_t> frames) {
            std::memcpy(frames.data(), bytes.data() + header.header_size + size_t{first} * header.frame_size,
                        frames.size());
        };
        io.write = [](uint32_t, std::span<int16_t>) {};
        hca::DecodePlan plan;
        plan.threads = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
        return header.frame_count > 0 && hca::decode_frames(header, {}, io, plan).empty();
    } catch (const hca::FormatError&) {
        return false;
    }
}
} // namespace batch
