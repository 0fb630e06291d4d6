#include "app/actions/hca_check.h"
#include "app/actions/action_files.h"
#include "hca_crc.h"
#include "hca_error.h"
#include "hca_stream_decoding.h"
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace tool {
namespace {
constexpr uint32_t DecodedAtEachEnd = 64;
// An HCA header's size is a 16-bit field.
constexpr size_t LargestHeader = 0x10000;
constexpr uint32_t FramesPerRead = 1024;

struct Stream {
    const OpenFile& file;
    uint64_t frames; // where the first frame starts
    hca::Header header;
};

// `count` frames from `first` on, read from the file.
std::vector<uint8_t> ReadFrames(const Stream& stream, uint32_t first, uint32_t count) {
    std::vector<uint8_t> bytes(size_t{count} * stream.header.frame_size);
    uint64_t at = stream.frames + uint64_t{first} * stream.header.frame_size;
    if (stream.file.ReadAt(reinterpret_cast<char*>(bytes.data()), bytes.size(), at) !=
        static_cast<int64_t>(bytes.size())) {
        throw std::runtime_error("short read");
    }
    return bytes;
}

bool ChecksumsHold(const Stream& stream) {
    const uint32_t size = stream.header.frame_size;
    for (uint32_t first = 0; first < stream.header.frame_count; first += FramesPerRead) {
        uint32_t count = std::min(FramesPerRead, stream.header.frame_count - first);
        std::vector<uint8_t> bytes = ReadFrames(stream, first, count);
        for (uint32_t frame = 0; frame < count; ++frame) {
            if (hca::crc16(std::span<const uint8_t>(bytes).subspan(size_t{frame} * size, size)) != 0) {
                return false;
            }
        }
    }
    return true;
}

// Frames from `first` on decoded as a stream of their own: a frame needs only the one before it.
bool RunDecodes(const Stream& stream, uint32_t first, uint32_t count) {
    hca::Header header = stream.header;
    header.frame_count = count;
    header.loop.reset();
    const std::vector<uint8_t> frames = ReadFrames(stream, first, count);
    hca::FrameIo io;
    io.read = [&](uint32_t from, std::span<uint8_t> bytes) {
        std::copy_n(frames.begin() + static_cast<std::ptrdiff_t>(size_t{from} * header.frame_size),
                    bytes.size(), bytes.begin());
    };
    io.write = [](uint32_t, std::span<int16_t>) {};
    return hca::decode_frames(header, {}, io, hca::DecodePlan{}).empty();
}
} // namespace

bool HcaStreamDecodes(const OpenFile& file, uint64_t offset) {
    const int64_t size = file.Size();
    if (size < 0 || uint64_t(size) <= offset) {
        return false;
    }
    std::vector<uint8_t> head(LargestHeader);
    int64_t got = file.ReadAt(reinterpret_cast<char*>(head.data()), head.size(), offset);
    head.resize(got > 0 ? static_cast<size_t>(got) : 0);
    if (!hca::has_hca_signature(head)) {
        return false;
    }
    try {
        const hca::Header header = hca::parse_header(head);
        hca::check_stream_size(header, uint64_t(size) - offset);
        const Stream stream{file, offset + header.header_size, header};
        const uint32_t ends = std::min(header.frame_count, DecodedAtEachEnd);
        return header.frame_count > 0 && ChecksumsHold(stream) && RunDecodes(stream, 0, ends) &&
               RunDecodes(stream, header.frame_count - ends, ends);
    } catch (const hca::FormatError&) {
        return false;
    } catch (const std::runtime_error&) {
        return false;
    }
}
} // namespace tool
