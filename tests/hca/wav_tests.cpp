// WAV input in the sample formats and chunk layouts other programs write, and our WAV output.
#include "hca_error.h"
#include "wav_reader.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace hca {
namespace {

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put_chunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body) {
    out.insert(out.end(), id, id + 4);
    put(out, static_cast<uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1)
        out.push_back(0);
}

std::vector<uint8_t> fmt_body(uint16_t tag, unsigned channels, unsigned bits, bool extensible) {
    std::vector<uint8_t> body;
    put(body, extensible ? 0xFFFE : tag, 2);
    put(body, channels, 2);
    put(body, 44100, 4);
    put(body, 44100 * channels * bits / 8, 4);
    put(body, channels * bits / 8, 2);
    put(body, bits, 2);
    if (extensible) {
        put(body, 22, 2);
        put(body, bits, 2);
        put(body, 0, 4);
        put(body, tag, 2); // sub-format GUID starts with the format tag
        for (int i = 0; i < 14; ++i)
            body.push_back(0);
    }
    return body;
}

// A file holding the samples -0.5 and +0.25 for every channel, coded at `bits`.
std::vector<uint8_t> wav_file(uint16_t tag, unsigned bits, bool extensible, bool list_first) {
    std::vector<uint8_t> data;
    for (float value : {-0.5f, 0.25f})
        for (int c = 0; c < 2; ++c) {
            if (tag == 3)
                put(data, std::bit_cast<uint32_t>(value), 4);
            else if (bits == 8)
                put(data, static_cast<uint32_t>(128 + value * 128), 1);
            else
                put(data, static_cast<uint32_t>(static_cast<int64_t>(value * std::ldexp(1.0, int(bits) - 1))),
                    bits / 8);
        }
    std::vector<uint8_t> body = {'W', 'A', 'V', 'E'};
    const std::vector<uint8_t> list = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 3, 0, 0, 0, 'f', 'f', 0};
    if (list_first)
        put_chunk(body, "LIST", list);
    put_chunk(body, "fmt ", fmt_body(tag, 2, bits, extensible));
    if (!list_first)
        put_chunk(body, "LIST", list);
    put_chunk(body, "data", data);
    std::vector<uint8_t> file;
    put_chunk(file, "RIFF", body);
    return file;
}

TEST(WavReader, ReadsEverySampleFormatInAnyChunkOrder) {
    const std::pair<uint16_t, unsigned> formats[] = {{1, 8}, {1, 16}, {1, 24}, {1, 32}, {3, 32}};
    for (auto [tag, bits] : formats)
        for (bool extensible : {false, true})
            for (bool list_first : {false, true}) {
                const PcmAudio audio = read_wav(wav_file(tag, bits, extensible, list_first));
                ASSERT_EQ(audio.channels.size(), 2u);
                EXPECT_EQ(audio.sample_rate, 44100u);
                ASSERT_EQ(audio.frames(), 2u) << bits << " bits";
                EXPECT_FLOAT_EQ(audio.channels[1][0], -0.5f) << bits << " bits";
                EXPECT_FLOAT_EQ(audio.channels[0][1], 0.25f) << bits << " bits";
            }
}

TEST(WavReader, RejectsWhatItCannotRead) {
    EXPECT_THROW(read_wav(std::vector<uint8_t>{}), FormatError);
    EXPECT_THROW(read_wav(std::vector<uint8_t>(100, 'x')), FormatError);
    EXPECT_THROW(read_wav(wav_file(2, 16, false, false)), FormatError); // ADPCM
    EXPECT_THROW(read_wav(wav_file(3, 24, false, false)), FormatError); // 24-bit float
    auto unfinished = wav_file(1, 16, false, true); // data size left unset by a killed writer
    for (size_t i = unfinished.size() - 12; i < unfinished.size() - 8; ++i)
        unfinished[i] = 0xFF;
    EXPECT_THROW(read_wav(unfinished), FormatError);
    auto no_data = wav_file(1, 16, false, false);
    no_data.resize(no_data.size() - 16);
    EXPECT_THROW(read_wav(no_data), FormatError);
}

TEST(WavWriter, WritesWhatTheReaderReadsBack) {
    const std::vector<int16_t> samples = {0, -32768, 32767, 1234, -1, 5};
    auto written = samples;
    auto bytes = wav_header(3, 32000, 2, WavLoop{0, 2});
    const auto data = wav_sample_bytes(written);
    bytes.insert(bytes.end(), data.begin(), data.end());
    const PcmAudio audio = read_wav(bytes);
    ASSERT_EQ(audio.channels.size(), 3u);
    EXPECT_EQ(audio.sample_rate, 32000u);
    ASSERT_EQ(audio.frames(), 2u);
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(audio.channels[i % 3][i / 3] * 32768.0f, samples[i]);
}

} // namespace
} // namespace hca
