#include "hca_encoder.h"

#include "hca_bit_writer.h"
#include "hca_crc.h"
#include "hca_error.h"
#include "hca_frame_syntax.h"
#include "hca_header.h"
#include "hca_rate_control.h"

#include <algorithm>
#include <cmath>

namespace hca {
namespace {

constexpr int kFrameHeadBits = 16 + 9 + 7;
constexpr int kCrcBits = 16;

// Frame bytes per two channels, by quality (highest first).
constexpr unsigned kPairFrameSize[] = {0x555, 0x400, 0x2AA, 0x200, 0x155};

// Reads the delayed, zero-extended signal of one channel block by block.
class BlockSource {
  public:
    explicit BlockSource(const std::vector<float>& samples) : samples_(samples) {}

    void block(int64_t index, Block& out) const {
        const int64_t first = index * kSubframeSize - kEncoderDelay;
        for (int i = 0; i < kSubframeSize; ++i) {
            int64_t n = first + i;
            out[i] =
                n >= 0 && n < static_cast<int64_t>(samples_.size()) ? samples_[static_cast<size_t>(n)] : 0.0f;
        }
    }

  private:
    const std::vector<float>& samples_;
};

// Smallest scale factor whose peak covers the coefficient's largest magnitude in the frame.
uint8_t scale_factor_for(float peak) {
    const auto& scale = tables().scale;
    auto it = std::lower_bound(scale.begin(), scale.end(), peak);
    return static_cast<uint8_t>(it == scale.end() ? 63 : it - scale.begin());
}

void analyze_frame(const BlockSource& source, int64_t frame_index, ChannelFrame& frame) {
    Block current;
    Block next;
    source.block(frame_index * kSubframes, current);
    for (int s = 0; s < kSubframes; ++s) {
        source.block(frame_index * kSubframes + s + 1, next);
        analyze(current, next, frame.spectra[s]);
        current = next;
    }
    for (int i = 0; i < kSubframeSize; ++i) {
        float peak = 0.0f;
        for (const Block& spectrum : frame.spectra)
            peak = std::max(peak, std::fabs(spectrum[i]));
        frame.peak_scale[i] = scale_factor_for(peak);
    }
}

void write_frame(std::span<const ChannelFrame> channels, NoiseLevel level, std::span<uint8_t> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    BitWriter writer(out.first(out.size() - 2));
    writer.write(kFrameSync, 16);
    writer.write(level.acceptable_noise, 9);
    writer.write(level.boundary, 7);
    for (const ChannelFrame& frame : channels)
        write_scale_factors(writer, std::span(frame.scale_factors.data(), frame.coded_count),
                            frame.scale_width);
    for (int s = 0; s < kSubframes; ++s)
        for (const ChannelFrame& frame : channels)
            for (unsigned i = 0; i < frame.coded_count; ++i) {
                const unsigned r = frame.resolution[i];
                write_coefficient(writer, r, Quantizer(frame.scale_factors[i], r)(frame.spectra[s][i]));
            }
    uint16_t crc = crc16(out.first(out.size() - 2));
    out[out.size() - 2] = static_cast<uint8_t>(crc >> 8);
    out[out.size() - 1] = static_cast<uint8_t>(crc);
}

Header stream_header(const PcmAudio& audio, uint16_t frame_size) {
    const uint64_t samples = audio.frames() + kEncoderDelay;
    const uint64_t frames = (samples + kFrameSamples - 1) / kFrameSamples;
    if (frames > 0xFFFFFFFFull)
        throw FormatError("audio too long for an HCA stream");
    Header h;
    h.channels = static_cast<unsigned>(audio.channels.size());
    h.sample_rate = audio.sample_rate;
    h.frame_count = static_cast<uint32_t>(frames);
    h.encoder_delay = kEncoderDelay;
    h.encoder_padding = static_cast<uint16_t>(frames * kFrameSamples - samples);
    h.frame_size = frame_size;
    h.total_band_count = kSubframeSize;
    h.base_band_count = kSubframeSize;
    h.header_size = 0;
    return h;
}

} // namespace

std::optional<Quality> parse_quality(std::string_view name) {
    constexpr std::pair<std::string_view, Quality> names[] = {{"highest", Quality::Highest},
                                                              {"high", Quality::High},
                                                              {"middle", Quality::Middle},
                                                              {"low", Quality::Low},
                                                              {"lowest", Quality::Lowest}};
    for (const auto& [text, quality] : names)
        if (text == name)
            return quality;
    return std::nullopt;
}

uint16_t frame_size_for(const EncoderOptions& options, unsigned channels, unsigned sample_rate) {
    uint64_t bytes = 0;
    if (options.bitrate > 0)
        bytes = (uint64_t{options.bitrate} * kFrameSamples / sample_rate + 7) / 8;
    else
        bytes = (uint64_t{kPairFrameSize[static_cast<int>(options.quality)]} * channels + 1) / 2;
    // At least a few bits per coefficient of each channel, at most what the field holds.
    const uint64_t minimum = 16 + uint64_t{channels} * 48;
    return static_cast<uint16_t>(std::clamp<uint64_t>(bytes, minimum, 0xFFFF));
}

std::vector<uint8_t> encode(const PcmAudio& audio, const EncoderOptions& options) {
    const unsigned channel_count = static_cast<unsigned>(audio.channels.size());
    if (channel_count < 1 || channel_count > kMaxChannels || audio.sample_rate < 1 ||
        audio.sample_rate > 0xFFFFFF)
        throw FormatError("audio layout cannot be coded as HCA");
    if (audio.frames() == 0)
        throw FormatError("no samples to encode");
    const uint16_t frame_size = frame_size_for(options, channel_count, audio.sample_rate);
    const Header header = stream_header(audio, frame_size);
    std::vector<uint8_t> stream = write_header(header);
    const size_t header_size = stream.size();
    stream.resize(header_size + size_t{header.frame_count} * frame_size);

    std::vector<BlockSource> sources;
    for (const auto& samples : audio.channels)
        sources.emplace_back(samples);
    const auto ath = ath_table(header.ath_type, header.sample_rate);
    const long budget = long{frame_size} * 8 - kFrameHeadBits - kCrcBits;
    std::vector<ChannelFrame> channels(channel_count);
    for (uint32_t f = 0; f < header.frame_count; ++f) {
        for (unsigned c = 0; c < channel_count; ++c)
            analyze_frame(sources[c], f, channels[c]);
        const NoiseLevel level = choose_noise_level(channels, ath, budget);
        write_frame(channels, level,
                    std::span(stream).subspan(header_size + size_t{f} * frame_size, frame_size));
    }
    return stream;
}

} // namespace hca
