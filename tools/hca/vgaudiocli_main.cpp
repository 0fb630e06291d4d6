// vgaudiocli.exe: decodes HCA streams to WAV and encodes WAV files as HCA.
#include "hca_encoder.h"
#include "hca_error.h"
#include "hca_header.h"
#include "hca_stream_decoding.h"
#include "vgaudiocli_files.h"
#include "vgaudiocli_options.h"
#include "wav_reader.h"
#include "wav_writer.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <thread>

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

constexpr size_t kMaxHeaderBytes = 0xFFFF;

void decode(const Options& options, const vgaudiocli::InputFile& input, std::span<const uint8_t> head) {
    const hca::Header header = hca::parse_header(head);
    hca::check_stream_size(header, input.size());
    vgaudiocli::AtomicOutput output(options.output);
    const std::vector<uint8_t> wav =
        hca::wav_header(header.channels, header.sample_rate,
                        uint64_t{header.frame_count} * hca::kFrameSamples, loop_of(header));
    output.write_at(0, wav);
    const uint64_t pcm_bytes_per_frame = uint64_t{hca::kFrameSamples} * header.channels * 2;
    hca::FrameIo io;
    io.read = [&](uint32_t first, std::span<uint8_t> bytes) {
        input.read(header.header_size + uint64_t{first} * header.frame_size, bytes);
    };
    io.write = [&](uint32_t first, std::span<int16_t> pcm) {
        output.write_at(wav.size() + first * pcm_bytes_per_frame, hca::wav_sample_bytes(pcm));
    };
    hca::DecodePlan plan;
    plan.threads = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
    const auto damaged = hca::decode_frames(header, options.key, io, plan);
    output.commit();
    report_damage(damaged, header.frame_count);
}

void encode(const Options& options, const vgaudiocli::InputFile& input) {
    hca::WavReader wav(input);
    vgaudiocli::AtomicOutput output(options.output);
    hca::encode(wav, options.encoder,
                [&](uint64_t offset, std::span<const uint8_t> bytes) { output.write_at(offset, bytes); });
    output.commit();
}

void run(const Options& options) {
    const vgaudiocli::InputFile input(options.input);
    if (input.size() == 0)
        throw hca::FormatError("input file is empty");
    std::vector<uint8_t> head(std::min<uint64_t>(input.size(), kMaxHeaderBytes));
    input.read(0, head);
    OutputFormat format = options.format;
    if (format == OutputFormat::Unspecified)
        format = ends_with_hca(options.output) ? OutputFormat::Hca : OutputFormat::Wav;
    if (format == OutputFormat::Hca) {
        if (!is_wav(head))
            throw hca::FormatError("input is not a WAV file; HCA output is encoded from WAV");
        encode(options, input);
        return;
    }
    if (!hca::has_hca_signature(head))
        throw hca::FormatError(is_wav(head) ? "input is already WAV; use --out-format hca to encode it"
                                            : "input is neither an HCA stream nor a WAV file");
    decode(options, input, head);
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
