// Streams with the features the tool's own command lines never ask for: each round-trips through our
// decoder, and ffmpeg decodes it to within one unit of ours wherever its decoder follows the format
// description. Where it does not, our decoder follows the description (see docs/decisions.md).
#include "ffmpeg_decoder.h"
#include "hca_encoder.h"
#include "hca_stream_builder.h"
#include "hca_stream_decoding.h"
#include "test_signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace hca::testing {
namespace {

struct FeatureCase {
    const char* name;
    StreamFeatures features;
    bool ffmpeg_follows = true;
    double min_snr = 25.0; // ours, against the source
};

StreamFeatures with(auto change) {
    StreamFeatures features;
    change(features);
    return features;
}

const FeatureCase kCases[] = {
    {"version 3.0", with([](auto& f) { f.version = 0x0300; })},
    {"HFR", with([](auto& f) { f.hfr_bands = 24; })},
    {"version 1.3, ATH curve by default", with([](auto& f) { f.version = 0x0103; })},
    {"version 1.3, ath chunk turns it off", with([](auto& f) { f.version = 0x0103, f.other_ath = true; })},
    {"loop, rva and comm chunks", with([](auto& f) {
         f.loop = {{1000, 40000}}, f.volume = 0.5f, f.comment = "cross-check";
     })},
    // ffmpeg reads the 3.0 HFR values as if they were not in the scale factor list.
    {"version 3.0 with HFR", with([](auto& f) { f.version = 0x0300, f.hfr_bands = 24; }), false},
    // ffmpeg ignores an ath chunk in a 2.0 stream.
    {"version 2.0, ath chunk turns the curve on", with([](auto& f) { f.other_ath = true; }), false},
    // ffmpeg gives the right channel of the intensity bands the opposite sign.
    {"intensity stereo", with([](auto& f) { f.intensity_bands = 16; }), false},
    // Debian's ffmpeg does not decrypt.
    {"keyless cipher", with([](auto& f) { f.cipher_type = 1; }), false},
    {"keyed cipher", with([](auto& f) { f.cipher_type = 56, f.key_code = 0x00C0FFEE12345678ull; }), false},
};

TEST(StreamFeatures, RoundTripAndAgreeWithFfmpegWhereItFollowsTheFormat) {
    const bool ffmpeg = ffmpeg_available();
    const PcmAudio audio = make_signal(Signal::MusicMix, 1.0);
    for (const FeatureCase& test : kCases) {
        SCOPED_TRACE(test.name);
        const StreamFeatures& f = test.features;
        const auto stream = encode(audio, {Quality::High, 0, f});
        const Header header = parse_header(stream);
        EXPECT_EQ(header.version, f.version);
        EXPECT_EQ(header.loop.has_value(), f.loop.has_value());
        const auto ours = decode_all(stream, f.key_code);
        PcmAudio expected = audio;
        for (auto& channel : expected.channels)
            for (float& sample : channel)
                sample *= f.volume;
        EXPECT_GE(snr_db(expected, ours, kEncoderDelay, 1), test.min_snr);
        if (f.cipher_type == 56) {
            EXPECT_NE(decode_all(stream, f.key_code + 1), ours);
        }
        if (ffmpeg && test.ffmpeg_follows) {
            const auto theirs = ffmpeg_decode(stream);
            ASSERT_TRUE(theirs);
            EXPECT_LE(difference_to_ffmpeg(ours, *theirs), 1);
        }
    }
}

TEST(StreamFeatures, IntensityStereoRebuildsTheRightChannelWithTheRatiosOwnSign) {
    // A tone in the top (intensity) bands, its right channel half the left: the secondary channel
    // must come out as left * (2 - q) / q with q = (14 - index) / 7 and index = round(14 - 7 * 4/3) = 5.
    PcmAudio audio = make_signal(Signal::Silence, 0.5);
    for (size_t n = 0; n < audio.frames(); ++n) {
        audio.channels[0][n] =
            0.4f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 22500.0 * n / 48000.0));
        audio.channels[1][n] = 0.5f * audio.channels[0][n];
    }
    StreamFeatures features;
    features.intensity_bands = 16;
    const auto decoded = decode_all(encode(audio, {Quality::High, 0, features}));
    double left_right = 0.0;
    double left_left = 0.0;
    for (size_t i = 0; i + 1 < decoded.size(); i += 2) {
        left_right += double(decoded[i]) * decoded[i + 1];
        left_left += double(decoded[i]) * decoded[i];
    }
    ASSERT_GT(left_left, 0.0);
    const double q = 9.0 / 7.0;
    EXPECT_NEAR(left_right / left_left, (2.0 - q) / q, 0.02);
    // The level too, not only the ratio: the coded signal m best fits left = m * q, right = m * (2 - q),
    // so the left channel comes back at (q + (2 - q) / 2) * q / (q² + (2 - q)²) of its input.
    double input_left = 0.0;
    for (float sample : audio.channels[0])
        input_left += double(sample) * sample;
    const double expected = (q + (2.0 - q) / 2.0) * q / (q * q + (2.0 - q) * (2.0 - q));
    EXPECT_NEAR(std::sqrt(left_left / input_left) / 32768.0, expected, 0.05); // 16-bit samples
}

} // namespace
} // namespace hca::testing
