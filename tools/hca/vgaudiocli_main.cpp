// vgaudiocli.exe: decodes HCA streams to WAV and encodes WAV files as HCA.
#include "hca_decoder.h"
#include "hca_encoder.h"
#include "hca_error.h"
#include "hca_header.h"
#include "vgaudiocli_files.h"
#include "vgaudiocli_options.h"
#include "wav_reader.h"
#include "wav_writer.h"

#include <iostream>
#include <stdexcept>

namespace {

using vgaudiocli::Options;
using vgaudiocli::OutputFormat;

constexpr size_t kMaxReportedFrames = 10;

bool ends_with_hca(const std::string& path) {
    return path.size() >= 4 && (path.ends_with(".hca") || path.ends_with(".HCA"));
}

bool is_wav(std::span<const uint8_t> data) {
    return data.size() >= 12 && std::equal(data.begin(), data.begin() + 4, "RIFF") &&
           std::equal(data.begin() + 8, data.begin() + 12, "WAVE");
}

std::optional<hca::WavLoop> loop_of(const hca::Header& header) {
    if (!header.loop)
        return std::nullopt;
    const hca::LoopInfo& loop = *header.loop;
    const uint64_t start = uint64_t{loop.start_frame} * hca::kFrameSamples + loop.start_delay;
    const uint64_t end = (uint64_t{loop.end_frame} + 1) * hca::kFrameSamples - loop.end_padding;
    if (end <= start)
        return std::nullopt;
    return hca::WavLoop{start, end};
}

void report_damage(const std::vector<uint32_t>& damaged, uint32_t frame_count) {
    for (size_t i = 0; i < damaged.size() && i < kMaxReportedFrames; ++i)
        std::cerr << "vgaudiocli: warning: frame " << damaged[i]
                  << " is damaged (checksum or syntax error); replaced by silence\n";
    if (damaged.size() > kMaxReportedFrames)
        std::cerr << "vgaudiocli: warning: " << damaged.size() << " of " << frame_count
                  << " frames damaged\n";
}

void decode(const Options& options, std::span<const uint8_t> input) {
    const hca::Header header = hca::parse_header(input);
    vgaudiocli::AtomicOutput output(options.output);
    hca::write_wav_header(output.stream(), header.channels, header.sample_rate,
                          uint64_t{header.frame_count} * hca::kFrameSamples, loop_of(header));
    auto damaged = hca::decode_stream(input, options.key, [&](std::span<const int16_t> pcm) {
        hca::write_wav_samples(output.stream(), pcm);
    });
    output.commit();
    report_damage(damaged, header.frame_count);
}

void encode(const Options& options, std::span<const uint8_t> input) {
    const hca::PcmAudio audio = hca::read_wav(input);
    const std::vector<uint8_t> stream = hca::encode(audio, options.encoder);
    vgaudiocli::AtomicOutput output(options.output);
    output.stream().write(reinterpret_cast<const char*>(stream.data()),
                          static_cast<std::streamsize>(stream.size()));
    output.commit();
}

void run(const Options& options) {
    const vgaudiocli::InputFile file(options.input);
    const std::span<const uint8_t> input = file.bytes();
    if (input.empty())
        throw hca::FormatError("input file is empty");
    OutputFormat format = options.format;
    if (format == OutputFormat::Unspecified)
        format = ends_with_hca(options.output) ? OutputFormat::Hca : OutputFormat::Wav;
    if (format == OutputFormat::Hca) {
        if (!is_wav(input))
            throw hca::FormatError("input is not a WAV file; HCA output is encoded from WAV");
        encode(options, input);
        return;
    }
    if (!hca::has_hca_signature(input))
        throw hca::FormatError(is_wav(input) ? "input is already WAV; use --out-format hca to encode it"
                                             : "input is neither an HCA stream nor a WAV file");
    decode(options, input);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = vgaudiocli::parse_options(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "vgaudiocli: " << error.what() << "\n\n" << vgaudiocli::kUsage;
        return 2;
    }
    if (options.help) {
        std::cout << vgaudiocli::kUsage;
        return 0;
    }
    try {
        run(options);
    } catch (const std::exception& error) {
        std::cerr << "vgaudiocli: " << options.input << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
