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
constexpr uint32_t kFramesPerRead = 16;

// Frame bytes per two channels, by quality (highest first).
constexpr unsigned kPairFrameSize[] = {0x555, 0x400, 0x2AA, 0x200, 0x155};

// The delayed, zero-extended signal of every channel, read a few frames at a time. Frame f's analysis
// needs its own 1,024 samples and the first 128 of the next frame.
class FrameWindow {
  public:
    explicit FrameWindow(PcmSource& source)
        : source_(source), samples_(source.channel_count(),
                                    std::vector<float>(kFramesPerRead * kFrameSamples + kSubframeSize)) {}

    // The 1,152 samples of channel c that frame f analyses.
    const float* frame(unsigned c, uint32_t f) {
        if (f < first_ || f >= first_ + kFramesPerRead)
            load(f);
        return samples_[c].data() + size_t{f - first_} * kFrameSamples;
    }

  private:
    void load(uint32_t f) {
        const int64_t start = int64_t{f} * kFrameSamples - kEncoderDelay;
        const size_t length = samples_.front().size();
        const int64_t end =
            std::min<int64_t>(start + static_cast<int64_t>(length), static_cast<int64_t>(source_.frames()));
        const int64_t from = std::max<int64_t>(start, 0);
        std::vector<float*> out;
        for (auto& channel : samples_) {
            std::fill(channel.begin(), channel.end(), 0.0f);
            out.push_back(channel.data() + (from - start));
        }
        if (end > from)
            source_.read(static_cast<uint64_t>(from), static_cast<size_t>(end - from), out);
        first_ = f;
    }

    PcmSource& source_;
    std::vector<std::vector<float>> samples_;
    uint32_t first_ = 0xFFFFFFFFu;
};

// Smallest scale factor whose peak covers the coefficient's largest magnitude in the frame.
uint8_t scale_factor_for(float peak, const std::array<float, 64>& scale) {
    auto it = std::lower_bound(scale.begin(), scale.end(), peak);
    return static_cast<uint8_t>(it == scale.end() ? 63 : it - scale.begin());
}

void analyze_frame(const float* samples, ChannelFrame& frame) {
    analyze(samples, frame.spectra);
    const auto& scale = tables().scale;
    for (int i = 0; i < kSubframeSize; ++i) {
        float peak = 0.0f;
        for (int s = 0; s < kSubframes; ++s)
            peak = std::max(peak, std::fabs(frame.spectra[i][s]));
        frame.peak_scale[i] = scale_factor_for(peak, scale);
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
    std::vector<std::array<Quantizer, kSubframeSize>> quantizers;
    for (const ChannelFrame& frame : channels) {
        auto& q = quantizers.emplace_back();
        for (unsigned i = 0; i < frame.coded_count; ++i)
            q[i] = Quantizer(frame.scale_factors[i], frame.resolution[i]);
    }
    for (int s = 0; s < kSubframes; ++s)
        for (size_t c = 0; c < channels.size(); ++c) {
            const ChannelFrame& frame = channels[c];
            for (unsigned i = 0; i < frame.coded_count; ++i)
                write_coefficient(writer, frame.resolution[i], quantizers[c][i](frame.spectra[i][s]));
        }
    uint16_t crc = crc16(out.first(out.size() - 2));
    out[out.size() - 2] = static_cast<uint8_t>(crc >> 8);
    out[out.size() - 1] = static_cast<uint8_t>(crc);
}

Header stream_header(const PcmSource& source, uint16_t frame_size) {
    const uint64_t samples = source.frames() + kEncoderDelay;
    const uint64_t frames = (samples + kFrameSamples - 1) / kFrameSamples;
    if (frames > 0xFFFFFFFFull)
        throw FormatError("audio too long for an HCA stream");
    Header h;
    h.channels = source.channel_count();
    h.sample_rate = source.sample_rate();
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

void encode(PcmSource& source, const EncoderOptions& options, const StreamSink& sink) {
    const unsigned channel_count = source.channel_count();
    if (channel_count < 1 || channel_count > kMaxChannels || source.sample_rate() < 1 ||
        source.sample_rate() > 0xFFFFFF)
        throw FormatError("audio layout cannot be coded as HCA");
    if (source.frames() == 0)
        throw FormatError("no samples to encode");
    const uint16_t frame_size = frame_size_for(options, channel_count, source.sample_rate());
    const Header header = stream_header(source, frame_size);
    const std::vector<uint8_t> head = write_header(header);
    sink(0, head);

    FrameWindow window(source);
    const auto ath = ath_table(header.ath_type, header.sample_rate);
    const long budget = long{frame_size} * 8 - kFrameHeadBits - kCrcBits;
    std::vector<ChannelFrame> channels(channel_count);
    std::vector<uint8_t> frames(size_t{kFramesPerRead} * frame_size);
    for (uint32_t f = 0; f < header.frame_count; ++f) {
        for (unsigned c = 0; c < channel_count; ++c)
            analyze_frame(window.frame(c, f), channels[c]);
        const NoiseLevel level = choose_noise_level(channels, ath, budget);
        const uint32_t slot = f % kFramesPerRead;
        write_frame(channels, level, std::span(frames).subspan(size_t{slot} * frame_size, frame_size));
        if (slot + 1 == kFramesPerRead || f + 1 == header.frame_count)
            sink(head.size() + uint64_t{f - slot} * frame_size,
                 std::span(frames).first(size_t{slot + 1} * frame_size));
    }
}

std::vector<uint8_t> encode(const PcmAudio& audio, const EncoderOptions& options) {
    PcmAudioSource source(audio);
    std::vector<uint8_t> stream;
    encode(source, options, [&](uint64_t offset, std::span<const uint8_t> bytes) {
        stream.resize(std::max<size_t>(stream.size(), offset + bytes.size()));
        std::copy(bytes.begin(), bytes.end(), stream.begin() + static_cast<std::ptrdiff_t>(offset));
    });
    return stream;
}

} // namespace hca
