// The encoder's stream layout, its round trip through our decoder at every quality, and ffmpeg's
// independent decoding of what it writes.
#include "ffmpeg_decoder.h"
#include "hca_crc.h"
#include "hca_encoder.h"
#include "hca_stream_builder.h"
#include "hca_stream_decoding.h"
#include "test_signals.h"

#include <gtest/gtest.h>

namespace hca::testing {
namespace {

constexpr Quality kQualities[] = {Quality::Highest, Quality::High, Quality::Middle, Quality::Low,
                                  Quality::Lowest};

TEST(EncoderLayout, WritesVersionTwoWithConstantCheckedFrames) {
    const PcmAudio audio = make_signal(Signal::Tones, 1.0);
    const auto stream = encode(audio, EncoderOptions{});
    const std::vector<uint8_t> signature = {'H', 'C', 'A', 0, 0x02, 0x00};
    ASSERT_TRUE(std::equal(signature.begin(), signature.end(), stream.begin()));
    const Header header = parse_header(stream);
    EXPECT_EQ(header.stereo_band_count, 0u);
    EXPECT_EQ(uint64_t{header.frame_count} * kFrameSamples,
              audio.frames() + kEncoderDelay + header.encoder_padding);
    EXPECT_LT(header.encoder_padding, kFrameSamples);
    EXPECT_EQ(stream.size(), header.stream_bytes());
    for (uint32_t f = 0; f < header.frame_count; ++f) {
        auto frame =
            std::span(stream).subspan(header.header_size + size_t{f} * header.frame_size, header.frame_size);
        ASSERT_EQ(frame[0], 0xFF);
        ASSERT_EQ(frame[1], 0xFF);
        ASSERT_EQ(crc16(frame), 0) << "frame " << f;
    }
}

TEST(EncoderRoundTrip, QualityOrdersTheSignalToNoiseRatio) {
    const PcmAudio audio = make_signal(Signal::MusicMix, 2.0);
    // Lower bounds a few dB under what each level reaches on this signal.
    const double minimum[] = {45.0, 40.0, 32.0, 28.0, 24.0};
    double previous = 1e9;
    for (size_t q = 0; q < std::size(kQualities); ++q) {
        const auto decoded = decode_all(encode(audio, {kQualities[q], 0, {}}));
        const double snr = snr_db(audio, decoded, kEncoderDelay, 1);
        EXPECT_GE(snr, minimum[q]) << "quality " << q;
        EXPECT_LE(snr, previous + 0.5) << "quality " << q;
        previous = snr;
    }
}

TEST(EncoderRoundTrip, SilenceStaysExactlySilent) {
    const auto decoded = decode_all(encode(make_signal(Signal::Silence, 0.5), EncoderOptions{}));
    EXPECT_TRUE(std::all_of(decoded.begin(), decoded.end(), [](int16_t s) { return s == 0; }));
}

TEST(EncoderRoundTrip, OtherLayoutsAndRates) {
    for (auto [channels, rate] : {std::pair{1u, 44100u}, std::pair{6u, 32000u}, std::pair{8u, 22050u}}) {
        const PcmAudio stereo = make_signal(Signal::ChordSweep, 0.5, rate);
        PcmAudio audio;
        audio.sample_rate = rate;
        for (unsigned c = 0; c < channels; ++c)
            audio.channels.push_back(stereo.channels[c % 2]);
        const auto stream = encode(audio, EncoderOptions{});
        EXPECT_EQ(parse_header(stream).channels, channels);
        EXPECT_GE(snr_db(audio, decode_all(stream), kEncoderDelay, 1), 30.0) << channels << " channels";
    }
}

class FfmpegCrossDecoding : public ::testing::TestWithParam<Signal> {
  protected:
    void SetUp() override {
        if (!ffmpeg_available())
            GTEST_SKIP() << "ffmpeg is not installed";
    }
};

TEST_P(FfmpegCrossDecoding, AgreesWithinOneUnitAndKeepsTwentyDecibelsAtHigh) {
    const PcmAudio audio = make_signal(GetParam(), 2.0);
    const auto stream = encode(audio, EncoderOptions{});
    const auto theirs = ffmpeg_decode(stream);
    ASSERT_TRUE(theirs) << "ffmpeg could not decode our stream";
    EXPECT_LE(difference_to_ffmpeg(decode_all(stream), *theirs), 1);
    if (GetParam() != Signal::Silence) {
        EXPECT_GE(snr_db(audio, *theirs, kEncoderDelay, -1), 20.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, FfmpegCrossDecoding, ::testing::ValuesIn(all_signals()),
                         [](const auto& info) {
                             std::string name = signal_name(info.param);
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
} // namespace hca::testing
