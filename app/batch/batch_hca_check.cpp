#include "app/batch/batch_hca_check.h"
#include "hca_crc.h"
#include "hca_error.h"
#include "hca_stream_decoding.h"
#include <algorithm>
#include <cstring>

namespace batch {
namespace {
constexpr uint32_t DecodedAtEachEnd = 64;

bool ChecksumsHold(const hca::Header& header, std::span<const uint8_t> frames) {
    for (uint32_t frame = 0; frame < header.frame_count; ++frame) {
        if (hca::crc16(frames.subspan(size_t{frame} * header.frame_size, header.frame_size)) != 0) {
            return false;
        }
    }
    return true;
}

// Frames from `first` on decoded as a stream of their own: a frame needs only the one before it.
bool RunDecodes(hca::Header header, std::span<const uint8_t> frames, uint32_t first, uint32_t count) {
    header.frame_count = count;
    header.loop.reset();
    hca::FrameIo io;
    io.read = [&](uint32_t from, std::span<uint8_t> bytes) {
        std::memcpy(bytes.data(), frames.data() + size_t{first + from} * header.frame_size, bytes.size());
    };
    io.write = [](uint32_t, std::span<int16_t>) {};
    return hca::decode_frames(header, {}, io, hca::DecodePlan{}).empty();
}
} // namespace

bool HcaStreamDecodes(std::string_view stream) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    if (!hca::has_hca_signature(bytes)) {
        return false;
    }
    try {
        const hca::Header header = hca::parse_header(bytes);
        hca::check_stream_size(header, bytes.size());
        const std::span<const uint8_t> frames = bytes.subspan(header.header_size);
        const uint32_t ends = std::min(header.frame_count, DecodedAtEachEnd);
        return header.frame_count > 0 && ChecksumsHold(header, frames) &&
               RunDecodes(header, frames, 0, ends) &&
               RunDecodes(header, frames, header.frame_count - ends, ends);
    } catch (const hca::FormatError&) {
        return false;
    }
}
} // namespace batch
