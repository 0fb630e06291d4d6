#include "hca_encoder.h"

#include "hca_bit_writer.h"
#include "hca_cipher.h"
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
constexpr unsigned kHfrGroupBands = 8;

// Frame bytes per two channels, by quality (highest first).
constexpr unsigned kPairFrameSize[] = {0x555, 0x400, 0x2AA, 0x200, 0x155};

// The delayed, zero-extended signal of every channel, read a few frames at a time. Frame f's analysis
// needs its own 1,024 samples and the first 128 of the next frame.
class FrameWindow {
  public:
    FrameWindow(PcmSource& source, float volume)
        : source_(source), volume_(volume),
          samples_(source.channel_count(),
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
        if (volume_ != 1.0f)
            for (auto& channel : samples_)
                for (float& sample : channel)
                    sample *= volume_;
        first_ = f;
    }

    PcmSource& source_;
    float volume_;
    std::vector<std::vector<float>> samples_;
    uint32_t first_ = 0xFFFFFFFFu;
};

// Smallest scale factor whose peak covers the coefficient's largest magnitude in the frame.
uint8_t scale_factor_for(float peak, const std::array<float, 64>& scale) {
    auto it = std::lower_bound(scale.begin(), scale.end(), peak);
    return static_cast<uint8_t>(it == scale.end() ? 63 : it - scale.begin());
}

void find_peak_scales(ChannelFrame& frame, unsigned first, unsigned end) {
    const auto& scale = tables().scale;
    for (unsigned i = first; i < end; ++i) {
        float peak = 0.0f;
        for (int s = 0; s < kSubframes; ++s)
            peak = std::max(peak, std::fabs(frame.spectra[i][s]));
        frame.peak_scale[i] = scale_factor_for(peak, scale);
    }
}

// High-frequency reconstruction: each group of bands above the coded ones gets the scale factor of
// its own level, which the decoder applies to the mirrored lower bands.
void choose_hfr_scales(const Header& header, ChannelFrame& frame) {
    const unsigned start = header.base_band_count + header.stereo_band_count;
    for (unsigned g = 0; g < header.hfr_group_count(); ++g) {
        const unsigned first = start + g * header.bands_per_hfr_group;
        const unsigned end = std::min(first + header.bands_per_hfr_group, header.total_band_count);
        unsigned sum = 0;
        for (unsigned i = first; i < end; ++i)
            sum += frame.peak_scale[i];
        frame.hfr_scale[g] = static_cast<uint8_t>((sum + (end - first) / 2) / (end - first));
    }
}

// Intensity stereo: the stereo bands of a pair are coded once, in the primary channel, as the signal
// m for which left = m * q and right = m * (2 - q) fit best, with q = (14 - index) / 7 per subframe.
void code_intensity(const Header& header, ChannelFrame& primary, ChannelFrame& secondary) {
    const unsigned first = header.base_band_count;
    const unsigned end = first + header.stereo_band_count;
    for (int s = 0; s < kSubframes; ++s) {
        float left = 0.0f;
        float right = 0.0f;
        for (unsigned i = first; i < end; ++i) {
            left += std::fabs(primary.spectra[i][s]);
            right += std::fabs(secondary.spectra[i][s]);
        }
        const float ratio = left + right > 0.0f ? 2.0f * left / (left + right) : 1.0f;
        // Index 15 is never written: decoders disagree on whether it is followed by seven more values.
        const long index = std::clamp(std::lround(14.0f - 7.0f * ratio), 0L, 14L);
        secondary.intensity[s] = static_cast<uint8_t>(index);
        const float q = (14.0f - static_cast<float>(index)) / 7.0f;
        const float norm = q * q + (2.0f - q) * (2.0f - q);
        for (unsigned i = first; i < end; ++i)
            primary.spectra[i][s] = (q * primary.spectra[i][s] + (2.0f - q) * secondary.spectra[i][s]) / norm;
    }
    find_peak_scales(primary, first, end);
}

void analyze_frame(const Header& header, std::span<const ChannelLayout> layouts, FrameWindow& window,
                   uint32_t f, std::span<ChannelFrame> channels) {
    for (size_t c = 0; c < channels.size(); ++c) {
        analyze(window.frame(static_cast<unsigned>(c), f), channels[c].spectra);
        find_peak_scales(channels[c], 0, kSubframeSize);
    }
    for (size_t c = 0; c + 1 < channels.size(); ++c)
        if (layouts[c].type == ChannelType::Primary && layouts[c + 1].type == ChannelType::Secondary)
            code_intensity(header, channels[c], channels[c + 1]);
    for (size_t c = 0; c < channels.size(); ++c)
        if (layouts[c].type != ChannelType::Secondary)
            choose_hfr_scales(header, channels[c]);
}

void write_frame(const Header& header, std::span<const ChannelFrame> channels, NoiseLevel level,
                 const Cipher& cipher, std::span<uint8_t> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    BitWriter writer(out.first(out.size() - 2));
    writer.write(kFrameSync, 16);
    writer.write(level.acceptable_noise, 9);
    writer.write(level.boundary, 7);
    const bool listed_hfr = header.version >= 0x0300;
    for (const ChannelFrame& frame : channels) {
        write_scale_factors(writer, frame.scale_list(), frame.scale_width);
        if (frame.secondary)
            for (uint8_t index : frame.intensity)
                writer.write(index, 4);
        else if (!listed_hfr)
            for (unsigned g = 0; g < header.hfr_group_count(); ++g)
                writer.write(frame.hfr_scale[g], kScaleFactorBits);
    }
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
    cipher.encrypt(out.first(out.size() - 2));
    uint16_t crc = crc16(out.first(out.size() - 2));
    out[out.size() - 2] = static_cast<uint8_t>(crc >> 8);
    out[out.size() - 1] = static_cast<uint8_t>(crc);
}

Header stream_header(const PcmSource& source, uint16_t frame_size, const StreamFeatures& features) {
    const uint64_t samples = source.frames() + kEncoderDelay;
    const uint64_t frames = (samples + kFrameSamples - 1) / kFrameSamples;
    if (frames > 0xFFFFFFFFull)
        throw FormatError("audio too long for an HCA stream");
    Header h;
    h.version = features.version;
    h.channels = source.channel_count();
    h.sample_rate = source.sample_rate();
    h.frame_count = static_cast<uint32_t>(frames);
    h.encoder_delay = kEncoderDelay;
    h.encoder_padding = static_cast<uint16_t>(frames * kFrameSamples - samples);
    h.frame_size = frame_size;
    h.total_band_count = kSubframeSize;
    h.stereo_band_count = features.intensity_bands;
    h.base_band_count = kSubframeSize - features.hfr_bands - features.intensity_bands;
    h.bands_per_hfr_group = features.hfr_bands > 0 ? kHfrGroupBands : 0;
    h.ath_type = default_ath_type(h.version) ^ (features.other_ath ? 1u : 0u);
    h.cipher_type = features.cipher_type;
    h.volume = features.volume;
    h.comment = features.comment;
    if (features.loop) {
        const uint64_t first = features.loop->first + kEncoderDelay;
        const uint64_t end = features.loop->second + kEncoderDelay;
        if (end <= first || end > samples)
            throw FormatError("loop outside the audio");
        const uint64_t last_frame = (end - 1) / kFrameSamples;
        h.loop = LoopInfo{static_cast<uint32_t>(first / kFrameSamples), static_cast<uint32_t>(last_frame),
                          static_cast<uint16_t>(first % kFrameSamples),
                          static_cast<uint16_t>((last_frame + 1) * kFrameSamples - end)};
    }
    const bool v3 = h.version == 0x0300;
    if (h.version != 0x0103 && h.version != 0x0200 && !v3)
        throw FormatError("the encoder writes versions 1.3, 2.0 and 3.0");
    if (h.base_band_count < 1 || h.stereo_band_count > h.base_band_count ||
        (h.version < 0x0200 && h.bands_per_hfr_group > 0) || (v3 && h.stereo_band_count > 0))
        throw FormatError("band layout not possible in this version");
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
    const Header header = stream_header(source, frame_size, options.features);
    const std::vector<uint8_t> head = write_header(header);
    sink(0, head);

    const auto layouts = channel_layouts(header);
    std::vector<ChannelFrame> channels(channel_count);
    for (unsigned c = 0; c < channel_count; ++c) {
        ChannelFrame& frame = channels[c];
        frame.coded_count = layouts[c].coded_count;
        const bool secondary = layouts[c].type == ChannelType::Secondary;
        frame.secondary = secondary;
        const unsigned hfr_groups = secondary ? 0 : header.hfr_group_count();
        frame.listed_hfr = header.version >= 0x0300 ? hfr_groups : 0;
        frame.side_bits = secondary                  ? kSubframes * 4
                          : header.version >= 0x0300 ? 0
                                                     : kScaleFactorBits * hfr_groups;
    }
    const Cipher cipher(header.cipher_type, options.features.key_code);
    FrameWindow window(source, options.features.volume);
    const auto ath = ath_table(header.ath_type, header.sample_rate);
    const long budget = long{frame_size} * 8 - kFrameHeadBits - kCrcBits;
    std::vector<uint8_t> frames(size_t{kFramesPerRead} * frame_size);
    for (uint32_t f = 0; f < header.frame_count; ++f) {
        analyze_frame(header, layouts, window, f, channels);
        const NoiseLevel level = choose_noise_level(channels, ath, budget);
        const uint32_t slot = f % kFramesPerRead;
        write_frame(header, channels, level, cipher,
                    std::span(frames).subspan(size_t{slot} * frame_size, frame_size));
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
