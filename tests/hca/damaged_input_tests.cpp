// Damaged streams must fail with a FormatError or decode with the damage reported, never crash.
#include "hca_encoder.h"
#include "hca_error.h"
#include "hca_stream_builder.h"
#include "hca_stream_decoding.h"
#include "test_signals.h"

#include <gtest/gtest.h>

namespace hca::testing {
namespace {

class DamagedInput : public ::testing::Test {
  protected:
    void SetUp() override {
        stream_ = encode(make_signal(Signal::MusicMix, 0.3), EncoderOptions{});
        header_ = parse_header(stream_);
        expected_ = decode_all(stream_);
    }
    size_t frame_offset(uint32_t f) const { return header_.header_size + size_t{f} * header_.frame_size; }
    size_t frame_samples() const { return size_t{kFrameSamples} * header_.channels; }

    std::vector<uint8_t> stream_;
    Header header_;
    std::vector<int16_t> expected_;
};

TEST_F(DamagedInput, EmptyAndForeignDataAreNotHca) {
    EXPECT_THROW(decode_all({}), FormatError);
    EXPECT_THROW(decode_all({'H', 'C'}), FormatError);
    auto wrong = stream_;
    wrong[0] = 'X';
    EXPECT_THROW(decode_all(wrong), FormatError);
    std::vector<uint8_t> riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_THROW(decode_all(riff), FormatError);
}

TEST_F(DamagedInput, TruncationAtEveryChunkAndFrameBoundaryFails) {
    std::vector<size_t> cuts = {0, 4, 6, 8, header_.header_size - 2u, header_.header_size - 1u};
    for (const char* tag : {"fmt", "comp", "ciph", "pad"})
        cuts.push_back(find_chunk(stream_, tag));
    for (uint32_t f = 0; f < header_.frame_count; ++f) {
        cuts.push_back(frame_offset(f));
        cuts.push_back(frame_offset(f) + header_.frame_size / 2);
    }
    cuts.push_back(stream_.size() - 1);
    for (size_t cut : cuts) {
        std::vector<uint8_t> truncated(stream_.begin(), stream_.begin() + static_cast<long>(cut));
        EXPECT_THROW(decode_all(truncated), FormatError) << "cut at " << cut;
    }
}

TEST_F(DamagedInput, FlippedHeaderBitFailsTheChecksum) {
    for (size_t byte : {size_t{5}, size_t{12}, size_t{header_.header_size - 1u}}) {
        auto damaged = stream_;
        damaged[byte] ^= 0x10;
        EXPECT_THROW(decode_all(damaged), FormatError) << "byte " << byte;
    }
}

TEST_F(DamagedInput, FlippedFrameBitSilencesOnlyThatFrameAndItsOverlap) {
    ASSERT_GE(header_.frame_count, 4u);
    const uint32_t bad = 2;
    auto damaged = stream_;
    damaged[frame_offset(bad) + 40] ^= 0x04;
    std::vector<uint32_t> reported;
    const auto decoded = decode_all(damaged, 0, &reported);
    EXPECT_EQ(reported, std::vector<uint32_t>{bad});
    const size_t n = frame_samples();
    for (size_t i = bad * n; i < (bad + 1) * n; ++i)
        ASSERT_EQ(decoded[i], 0);
    // Frames before the damage are untouched; the frame after only lacks its overlap tail.
    EXPECT_TRUE(std::equal(decoded.begin(), decoded.begin() + static_cast<long>(bad * n), expected_.begin()));
    const size_t after = (bad + 2) * n;
    EXPECT_TRUE(std::equal(decoded.begin() + static_cast<long>(after), decoded.end(),
                           expected_.begin() + static_cast<long>(after)));
}

TEST_F(DamagedInput, InconsistentHeaderFieldsAreRejected) {
    const size_t comp = find_chunk(stream_, "comp");
    struct Edit {
        size_t offset;
        uint8_t value;
    };
    const Edit edits[] = {
        {4, 0x07},                           // unknown version
        {find_chunk(stream_, "fmt") + 4, 0}, // no channels
        {comp + 4, 0},                       // frame size below 8
        {comp + 6, 2},                       // minimum resolution other than 1
        {comp + 8, 9},                       // more tracks than channels
        {comp + 10, 0},                      // no bands
        {comp + 12, 100},                    // stereo bands beyond the total
    };
    for (const Edit& edit : edits) {
        auto damaged = stream_;
        damaged[edit.offset] = edit.value;
        fix_header_crc(damaged);
        EXPECT_THROW(parse_header(damaged), FormatError) << "offset " << edit.offset;
    }
}

} // namespace
} // namespace hca::testing
