// The vgaudiocli.exe command lines the tool runs, and its behaviour on bad input.
#include "ffmpeg_decoder.h"
#include "hca_encoder.h"
#include "hca_header.h"
#include "hca_tables.h"
#include "test_signals.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace hca::testing {
namespace {

namespace fs = std::filesystem;

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vgaudiocli_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the program in the scratch folder; returns its exit status and keeps stderr.
    int run(const std::string& arguments) {
        const std::string command = "cd '" + dir_.string() + "' && '" VGAUDIOCLI_PATH "' " + arguments +
                                    " > stdout.txt 2> stderr.txt < /dev/null";
        const int status = std::system(command.c_str());
        std::ifstream err(dir_ / "stderr.txt");
        stderr_.assign(std::istreambuf_iterator<char>(err), {});
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(dir_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> read(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void write_wav(const std::string& name, const PcmAudio& audio) {
        auto bytes =
            wav_header(static_cast<unsigned>(audio.channels.size()), audio.sample_rate, audio.frames());
        std::vector<int16_t> samples;
        for (size_t n = 0; n < audio.frames(); ++n)
            for (const auto& channel : audio.channels)
                samples.push_back(static_cast<int16_t>(std::lround(channel[n] * 32768.0f)));
        const auto data = wav_sample_bytes(samples);
        bytes.insert(bytes.end(), data.begin(), data.end());
        write(name, bytes);
    }
    // Only the inputs and the captured output streams are left: no output, no temporary file.
    void expect_no_output(const std::vector<std::string>& inputs) {
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            bool known = name == "stdout.txt" || name == "stderr.txt" ||
                         std::find(inputs.begin(), inputs.end(), name) != inputs.end();
            EXPECT_TRUE(known) << "left behind: " << name;
        }
    }

    fs::path dir_;
    std::string stderr_;
};

TEST_F(Cli, ReplaceThenImportCommandLinesRoundTrip) {
    const PcmAudio audio = make_signal(Signal::MusicMix, 1.0);
    write_wav("replace.mp3.wav", audio);
    ASSERT_EQ(run("-i \"replace.mp3.wav\" \"replace.mp3.hca\" --out-format hca --hcaquality high"), 0)
        << stderr_;
    auto stream = read("replace.mp3.hca");
    const std::vector<uint8_t> signature = {'H', 'C', 'A', 0, 2, 0};
    ASSERT_TRUE(std::equal(signature.begin(), signature.end(), stream.begin()));
    // A stream cut out of a container runs to the container's end.
    stream.insert(stream.end(), 100, 0x00);
    write("bgm_01.sab.hca", stream);
    ASSERT_EQ(run("-i \"bgm_01.sab.hca\" \"bgm_01.sab.wav\""), 0) << stderr_;
    const auto decoded = read_wav_pcm16(dir_ / "bgm_01.sab.wav");
    EXPECT_GE(snr_db(audio, decoded, kEncoderDelay, 1), 35.0);
    EXPECT_TRUE(stderr_.empty()) << stderr_;
}

TEST_F(Cli, QualityBitrateAndFeatureOptionsShapeTheStream) {
    write_wav("in.wav", make_signal(Signal::Tones, 0.2));
    ASSERT_EQ(run("-i in.wav low.hca --out-format hca --hcaquality lowest"), 0) << stderr_;
    ASSERT_EQ(run("-i in.wav rate.hca --bitrate 128k"), 0) << stderr_;
    EXPECT_EQ(parse_header(read("low.hca")).frame_size, frame_size_for({Quality::Lowest, 0, {}}, 2, 48000));
    EXPECT_EQ(parse_header(read("rate.hca")).frame_size,
              frame_size_for({Quality::High, 128000, {}}, 2, 48000));
    // Stream features are options of their own.
    ASSERT_EQ(run("-i in.wav v3.hca --hca-version 3.0 --hfr-bands 16 --loop 0-4000 --comment hi"), 0)
        << stderr_;
    const Header v3 = parse_header(read("v3.hca"));
    EXPECT_EQ(v3.version, 0x0300);
    EXPECT_EQ(v3.bands_per_hfr_group > 0 ? v3.total_band_count - v3.base_band_count : 0u, 16u);
    ASSERT_TRUE(v3.loop);
    // The loop a game plays is the samples asked for, not one more or less (the stream starts with
    // the encoder's delay).
    EXPECT_EQ(v3.loop->start_frame * kFrameSamples + v3.loop->start_delay, kEncoderDelay);
    EXPECT_EQ((v3.loop->end_frame + 1) * kFrameSamples - v3.loop->end_padding, 4000 + kEncoderDelay);
    EXPECT_EQ(v3.comment, "hi");
}

TEST_F(Cli, HelpAndUsageErrors) {
    EXPECT_EQ(run("--help"), 0);
    const auto usage = read("stdout.txt");
    EXPECT_NE(std::string(usage.begin(), usage.end()).find("--hcaquality"), std::string::npos);
    EXPECT_NE(run("-i in.wav out.hca --hcaquality best"), 0);
    EXPECT_NE(stderr_.find("unknown quality"), std::string::npos);
    EXPECT_NE(run("-i"), 0);
    EXPECT_NE(run(""), 0);
}

TEST_F(Cli, BadInputFailsCleanlyWithoutOutput) {
    write("empty.hca", {});
    write("text.hca", {'h', 'e', 'l', 'l', 'o'});
    auto stream = encode(make_signal(Signal::Tones, 0.5), EncoderOptions{});
    write("truncated.hca",
          std::vector<uint8_t>(stream.begin(), stream.begin() + static_cast<long>(stream.size() / 2)));
    write("text.wav", {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'});
    const std::pair<std::string, std::string> cases[] = {
        {"-i missing.hca out.wav", "cannot open"},
        {"-i empty.hca out.wav", "empty"},
        {"-i text.hca out.wav", "neither"},
        {"-i truncated.hca out.wav", "truncated"},
        {"-i text.wav out.hca --out-format hca --hcaquality high", "not a WAV"},
    };
    for (const auto& [arguments, message] : cases) {
        EXPECT_EQ(run(arguments), 1) << arguments;
        EXPECT_NE(stderr_.find(message), std::string::npos) << arguments << ": " << stderr_;
    }
    expect_no_output({"empty.hca", "text.hca", "truncated.hca", "text.wav"});
}

TEST_F(Cli, DamagedFrameIsReportedAndTheRestDecoded) {
    auto stream = encode(make_signal(Signal::Tones, 0.5), EncoderOptions{});
    const Header header = parse_header(stream);
    stream[header.header_size + header.frame_size * 3u + 30] ^= 0x80;
    write("damaged.hca", stream);
    EXPECT_EQ(run("-i damaged.hca out.wav"), 0);
    EXPECT_NE(stderr_.find("frame 3 is damaged"), std::string::npos) << stderr_;
    EXPECT_EQ(read_wav_pcm16(dir_ / "out.wav").size(), size_t{header.frame_count} * kFrameSamples * 2);
}

} // namespace
} // namespace hca::testing
