#include "hca_stream_decoding.h"

#include "hca_error.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace hca {
namespace {

// Shared by the threads of one decode_frames() call.
class SegmentQueue {
  public:
    SegmentQueue(uint32_t frame_count, uint32_t segment_frames)
        : frame_count_(frame_count), segment_frames_(std::max<uint32_t>(segment_frames, 1)) {}

    // The next segment's first frame and frame count, or a count of 0 when all are taken.
    std::pair<uint32_t, uint32_t> take() {
        if (failed_.load())
            return {0, 0};
        const uint64_t first = uint64_t{next_.fetch_add(1)} * segment_frames_;
        if (first >= frame_count_)
            return {0, 0};
        const auto start = static_cast<uint32_t>(first);
        return {start, std::min(segment_frames_, frame_count_ - start)};
    }
    void fail(std::exception_ptr error) {
        std::lock_guard lock(mutex_);
        if (!error_)
            error_ = error;
        failed_ = true;
    }
    void add_damaged(const std::vector<uint32_t>& frames) {
        std::lock_guard lock(mutex_);
        damaged_.insert(damaged_.end(), frames.begin(), frames.end());
    }
    std::vector<uint32_t> finish() {
        if (error_)
            std::rethrow_exception(error_);
        std::sort(damaged_.begin(), damaged_.end());
        return std::move(damaged_);
    }

  private:
    const uint32_t frame_count_;
    const uint32_t segment_frames_;
    std::atomic<uint32_t> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;
    std::exception_ptr error_;
    std::vector<uint32_t> damaged_;
};

void decode_segments(const Header& header, DecoderKey key, const FrameIo& io, SegmentQueue& queue,
                     uint32_t segment_frames) {
    try {
        Decoder decoder(header, key);
        const size_t frame_samples = size_t{kFrameSamples} * header.channels;
        std::vector<uint8_t> bytes(size_t{header.frame_size} * (segment_frames + 1));
        std::vector<int16_t> pcm(frame_samples * segment_frames);
        std::vector<uint32_t> damaged;
        uint32_t continues_at = 0; // the frame whose overlap the decoder holds
        for (auto [first, count] = queue.take(); count > 0; std::tie(first, count) = queue.take()) {
            const uint32_t lead = first != continues_at ? 1 : 0;
            if (lead)
                decoder.restart();
            const uint32_t start = first - lead;
            const auto segment = std::span(bytes).first(size_t{header.frame_size} * (count + lead));
            io.read(start, segment);
            for (uint32_t f = 0; f < count + lead; ++f) {
                const uint32_t out = f < lead ? 0 : f - lead;
                const auto frame = segment.subspan(size_t{f} * header.frame_size, header.frame_size);
                if (!decoder.decode_frame(frame,
                                          std::span(pcm).subspan(out * frame_samples, frame_samples)) &&
                    f >= lead)
                    damaged.push_back(start + f);
            }
            io.write(first, std::span(pcm).first(frame_samples * count));
            continues_at = first + count;
        }
        queue.add_damaged(damaged);
    } catch (...) {
        queue.fail(std::current_exception());
    }
}

} // namespace

std::vector<uint32_t> decode_frames(const Header& header, DecoderKey key, const FrameIo& io,
                                    DecodePlan plan) {
    if (Decoder(header, key).carries_state_across_frames())
        plan.threads = 1; // only one pass through the stream in order reproduces the noise
    plan.segment_frames = std::max<uint32_t>(plan.segment_frames, 1);
    SegmentQueue queue(header.frame_count, plan.segment_frames);
    std::vector<std::jthread> helpers;
    for (unsigned t = 1; t < plan.threads; ++t)
        helpers.emplace_back([&] { decode_segments(header, key, io, queue, plan.segment_frames); });
    decode_segments(header, key, io, queue, plan.segment_frames);
    helpers.clear(); // joins
    return queue.finish();
}

void check_stream_size(const Header& header, uint64_t available) {
    if (available >= header.stream_bytes())
        return;
    const uint64_t present = (available - header.header_size) / header.frame_size;
    throw FormatError("truncated HCA stream: " + std::to_string(present) + " of " +
                      std::to_string(header.frame_count) + " frames present");
}

std::vector<uint32_t> decode_stream(std::span<const uint8_t> data, DecoderKey key, const FrameSink& sink) {
    const Header header = parse_header(data);
    check_stream_size(header, data.size());
    const size_t frame_samples = size_t{kFrameSamples} * header.channels;
    FrameIo io;
    io.read = [&](uint32_t first, std::span<uint8_t> bytes) {
        std::copy_n(data.begin() + header.header_size + size_t{first} * header.frame_size, bytes.size(),
                    bytes.begin());
    };
    io.write = [&](uint32_t, std::span<int16_t> pcm) {
        for (size_t offset = 0; offset < pcm.size(); offset += frame_samples)
            sink(pcm.subspan(offset, frame_samples));
    };
    return decode_frames(header, key, io, DecodePlan{});
}

} // namespace hca
