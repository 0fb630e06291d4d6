// Decoding the reference sample, encrypted streams and loop information.
#include "ffmpeg_decoder.h"
#include "hca_encoder.h"
#include "hca_error.h"
#include "hca_stream_builder.h"
#include "hca_stream_decoding.h"
#include "test_signals.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace hca::testing {
namespace {

std::vector<uint8_t> read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The synthesis as the format gives it (DCT-IV, then the window whose second half is negative) has one
// sign; the expected decoding, made by an independent decoder, has it too (ffmpeg's is the opposite).
TEST(ReferenceSample, DecodesWithinOneUnitOfTheExpectedSamplesAndTheirSign) {
    const std::filesystem::path dir = HCA_SAMPLES_DIR;
    if (!std::filesystem::exists(dir / "reference-v12-mono.hca")) {
        if (std::getenv("CI") != nullptr)
            FAIL() << "reference sample missing from " << dir;
        GTEST_SKIP() << "reference sample not present in " << dir;
    }
    const auto stream = read_bytes(dir / "reference-v12-mono.hca");
    std::vector<uint32_t> damaged;
    const auto ours = decode_all(stream, 0, &damaged);
    EXPECT_TRUE(damaged.empty());
    const auto expected = read_wav_pcm16(dir / "reference-v12-mono.decoded.wav");
    ASSERT_EQ(ours.size(), expected.size());
    int largest = 0;
    int difference = 0;
    for (size_t i = 0; i < ours.size(); ++i) {
        largest = std::max(largest, std::abs(int{expected[i]}));
        difference = std::max(difference, std::abs(ours[i] - expected[i]));
    }
    EXPECT_GT(largest, 1000) << "the sample is not silence, so the sign is seen";
    EXPECT_LE(difference, 1);
}

TEST(ParallelDecoding, MatchesOneThreadIncludingDamageAtASegmentEnd) {
    auto stream = encode(make_signal(Signal::MusicMix, 1.0), EncoderOptions{});
    const Header header = parse_header(stream);
    // Frame 5 ends the segment [3, 6); the thread taking [6, 9) restores its overlap from it.
    stream[header.header_size + 5u * header.frame_size + 40] ^= 0x10;
    std::vector<uint32_t> expected_damage;
    const auto expected = decode_all(stream, 0, &expected_damage);
    ASSERT_EQ(expected_damage, std::vector<uint32_t>{5});
    const size_t frame_samples = size_t{kFrameSamples} * header.channels;
    std::vector<int16_t> parallel(expected.size());
    FrameIo io;
    io.read = [&](uint32_t first, std::span<uint8_t> bytes) {
        std::copy_n(stream.begin() + header.header_size + first * header.frame_size, bytes.size(),
                    bytes.begin());
    };
    io.write = [&](uint32_t first, std::span<int16_t> pcm) {
        std::copy(pcm.begin(), pcm.end(), parallel.begin() + first * frame_samples);
    };
    EXPECT_EQ(decode_frames(header, {}, io, DecodePlan{2, 3}), expected_damage);
    EXPECT_EQ(parallel, expected);
}

} // namespace
} // namespace hca::testing
