#pragma once

#include "hca_decoder.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace hca {

// Where decode_frames() takes frame bytes from and puts samples. Both are called from several threads
// at once, for disjoint ranges of frames.
struct FrameIo {
    // Fills `bytes` with the frames from `first` on (a whole number of frames).
    std::function<void(uint32_t first, std::span<uint8_t> bytes)> read;
    // Receives the interleaved samples of the frames from `first` on.
    std::function<void(uint32_t first, std::span<int16_t> pcm)> write; // may change the samples
};

struct DecodePlan {
    unsigned threads = 1;
    uint32_t segment_frames = 256; // frames a thread reads, decodes and writes at a time
};

// Decodes every frame of the stream whose header is given and returns the indices of damaged frames
// (in order), which come out as silence. Frames depend on each other only through the overlap with the
// previous frame, so segments decode side by side, each thread first decoding the frame before its
// segment to restore the overlap. Exceptions thrown by `io` stop every thread and are passed on.
std::vector<uint32_t> decode_frames(const Header& header, DecoderKey key, const FrameIo& io, DecodePlan plan);

// Receives each decoded frame in order: kFrameSamples interleaved samples per channel.
using FrameSink = std::function<void(std::span<const int16_t>)>;

// Decodes a stream held in memory (bytes after the last frame are ignored) on one thread. Throws
// FormatError for a bad header or a stream shorter than its header says.
std::vector<uint32_t> decode_stream(std::span<const uint8_t> data, DecoderKey key, const FrameSink& sink);

// Throws FormatError when `available` bytes cannot hold the stream the header describes.
void check_stream_size(const Header& header, uint64_t available);

} // namespace hca
