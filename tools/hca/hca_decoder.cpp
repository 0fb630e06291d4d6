#include "hca_decoder.h"

#include "hca_crc.h"

#include <algorithm>
#include <cmath>

namespace hca {
namespace {

constexpr uint16_t kVersion3 = 0x0300;
constexpr int kIntensityBits = 4;
constexpr unsigned kIntensityUnused = 15;

// 16-bit samples: scaled, clamped and truncated toward zero, in a flat loop that vectorises.
// pcm[i * 8 + s] is sample i of subframe s.
HCA_VECTOR_CLONES void to_pcm(const FrameBlock& samples, std::array<int16_t, kFrameSamples>& pcm) {
    const float* in = reinterpret_cast<const float*>(samples.rows.data());
    for (int k = 0; k < kFrameSamples; ++k) {
        float v = in[k] * 32768.0f;
        v = v < 32767.0f ? v : 32767.0f;
        v = v > -32768.0f ? v : -32768.0f;
        pcm[k] = static_cast<int16_t>(v);
    }
}

} // namespace

Decoder::Decoder(const Header& header, DecoderKey key)
    : header_(header), cipher_(header.cipher_type, key.key_code, key.subkey),
      ath_(ath_table(header.ath_type, header.sample_rate)), channels_(header.channels),
      scratch_(header.frame_size) {
    auto layouts = channel_layouts(header);
    for (unsigned c = 0; c < header.channels; ++c)
        channels_[c].layout = layouts[c];
}

bool Decoder::carries_state_across_frames() const {
    return header_.version >= kVersion3 && header_.min_resolution == 0;
}

void Decoder::restart() {
    for (auto& channel : channels_)
        channel.last.rows.fill(Lanes{});
}

bool Decoder::decode_frame(std::span<const uint8_t> frame, std::span<int16_t> interleaved) {
    const size_t size = header_.frame_size;
    if (frame.size() < size || frame[0] != 0xFF || frame[1] != 0xFF || crc16(frame.first(size)) != 0) {
        silence(interleaved);
        return false;
    }
    std::span<const uint8_t> body = frame.first(size);
    if (!cipher_.is_identity()) {
        std::copy_n(frame.begin(), size, scratch_.begin());
        cipher_.decrypt(scratch_);
        body = scratch_;
    }
    BitReader in(body);
    in.read(16);
    const unsigned acceptable_noise = in.read(9);
    const unsigned boundary = in.read(7);
    const int noise = packed_noise(acceptable_noise, boundary);
    bool valid = true;
    for (auto& channel : channels_)
        valid = read_channel_head(in, channel, noise) && valid;
    read_spectra(in);
    if (!valid || in.overrun((size - 2) * 8)) {
        silence(interleaved);
        return false;
    }

    // Noise draws run subframe by subframe through the channels, as the coefficients were read.
    if (header_.min_resolution == 0)
        for (int subframe = 0; subframe < kSubframes; ++subframe)
            for (auto& channel : channels_)
                fill_noise(channel, subframe);
    if (header_.bands_per_hfr_group > 0)
        for (auto& channel : channels_)
            if (channel.layout.type != ChannelType::Secondary)
                reconstruct_high_bands(channel);
    const unsigned channel_count = header_.channels;
    for (unsigned c = 0; c + 1 < channel_count; ++c) {
        if (header_.stereo_band_count > 0 && channels_[c].layout.type == ChannelType::Primary &&
            channels_[c + 1].layout.type == ChannelType::Secondary)
            apply_intensity(channels_[c], channels_[c + 1]);
        if (header_.ms_stereo && header_.version >= kVersion3 && c % 2 == 0)
            apply_mid_side(channels_[c], channels_[c + 1]);
    }
    for (unsigned c = 0; c < channel_count; ++c)
        write_pcm(channels_[c], c, interleaved);
    return true;
}

bool Decoder::read_channel_head(BitReader& in, Channel& channel, int noise) {
    const unsigned coded = channel.layout.coded_count;
    const bool secondary = channel.layout.type == ChannelType::Secondary;
    const bool v3 = header_.version >= kVersion3;
    const unsigned hfr_groups = secondary ? 0 : header_.hfr_group_count();
    // Version 3 codes the HFR scale factors together with the others.
    unsigned count = coded + (v3 ? hfr_groups : 0);
    bool valid = read_scale_factors(in, std::span(channel.scale_factors, count));
    if (secondary)
        read_intensity(in, channel);
    else if (v3)
        std::copy_n(channel.scale_factors + coded, hfr_groups, channel.hfr_scale);
    else
        for (unsigned g = 0; g < hfr_groups; ++g)
            channel.hfr_scale[g] = static_cast<uint8_t>(in.read(kScaleFactorBits));

    const Tables& t = tables();
    for (unsigned i = 0; i < coded; ++i) {
        unsigned sf = channel.scale_factors[i];
        unsigned r =
            coefficient_resolution(sf, ath_[i], noise, i, header_.min_resolution, header_.max_resolution);
        channel.resolution[i] = static_cast<uint8_t>(r);
        channel.gain[i] = t.scale[sf] * t.range[r];
        channel.code_offset[i] = kCoefficientDecode.offset[r];
        channel.code_bits[i] = kMaxBits[r];
    }
    return valid;
}

void Decoder::read_intensity(BitReader& in, Channel& channel) {
    const unsigned first = in.peek(kIntensityBits);
    // 15 first means "no intensity this frame"; before 3.0 those bits belong to what follows.
    if (first != kIntensityUnused || header_.version >= kVersion3)
        in.skip(kIntensityBits);
    if (first == kIntensityUnused) {
        std::fill(std::begin(channel.intensity), std::end(channel.intensity), uint8_t{kIntensityUnused});
        return;
    }
    channel.intensity[0] = static_cast<uint8_t>(first);
    if (header_.version < kVersion3) {
        for (int s = 1; s < kSubframes; ++s)
            channel.intensity[s] = static_cast<uint8_t>(in.read(kIntensityBits));
        return;
    }
    const int width = static_cast<int>(in.read(2));
    const int escape = (1 << width) - 1;
    const int half = escape >> 1;
    int value = static_cast<int>(first);
    for (int s = 1; s < kSubframes; ++s) {
        int t = static_cast<int>(in.read(width));
        value = t == escape ? static_cast<int>(in.read(kIntensityBits)) : value + t - half;
        value = std::clamp(value, 0, 15);
        channel.intensity[s] = static_cast<uint8_t>(value);
    }
}

void Decoder::read_spectra(BitReader& in) {
    for (auto& channel : channels_)
        for (unsigned i = channel.layout.coded_count; i < kSubframeSize; ++i)
            channel.spectra[i] = Lanes{};
    // A local copy keeps the reader's state in registers through the loop.
    BitReader reader = in;
    for (int s = 0; s < kSubframes; ++s)
        for (auto& channel : channels_) {
            const unsigned coded = channel.layout.coded_count;
            for (unsigned i = 0; i < coded; ++i) {
                const int value = read_coefficient_code(reader, channel.code_offset[i], channel.code_bits[i]);
                channel.spectra[i][s] = channel.gain[i] * static_cast<float>(value);
            }
        }
    in = reader;
}

void Decoder::fill_noise(Channel& channel, int subframe) {
    // Version 3 streams with min_resolution 0 replace uncoded coefficients by copies of coded ones.
    const unsigned coded = channel.layout.coded_count;
    uint8_t sources[kSubframeSize];
    unsigned source_count = 0;
    for (unsigned i = 0; i < coded; ++i)
        if (channel.resolution[i] > 0)
            sources[source_count++] = static_cast<uint8_t>(i);
    if (source_count == 0)
        return;
    const auto& conv = tables().conv;
    for (unsigned i = 0; i < coded; ++i) {
        if (channel.resolution[i] > 0 || channel.scale_factors[i] == 0)
            continue;
        noise_seed_ = noise_seed_ * 0x343FDu + 0x269EC3u;
        unsigned source = sources[((noise_seed_ >> 16) & 0x7FFFu) % source_count];
        int step = std::clamp(int(channel.scale_factors[i]) - int(channel.scale_factors[source]) + 62, 0, 62);
        channel.spectra[i][subframe] = conv[step] * channel.spectra[source][subframe];
    }
}

void Decoder::reconstruct_high_bands(Channel& channel) {
    const auto& conv = tables().conv;
    const int total = static_cast<int>(header_.total_band_count);
    const int start = static_cast<int>(header_.base_band_count + header_.stereo_band_count);
    const unsigned groups = header_.hfr_group_count();
    const bool v3 = header_.version >= kVersion3;
    int high = start;
    int low = start - 1;
    for (unsigned g = 0; g < groups; ++g) {
        // Version 3 mirrors downwards for the first half of the groups, then walks back up.
        const int direction = v3 && g >= groups / 2 ? 1 : -1;
        for (unsigned j = 0; j < header_.bands_per_hfr_group && high < total && low >= 0 && low < start;
             ++j) {
            int step = std::max(0, int(channel.hfr_scale[g]) - int(channel.scale_factors[low]) + 63);
            channel.spectra[high] = conv[step] * channel.spectra[low];
            ++high;
            low += direction;
        }
    }
    if (high > 0)
        channel.spectra[high - 1] = Lanes{};
}

void Decoder::apply_intensity(Channel& primary, Channel& secondary) {
    const auto& table = tables().intensity;
    Lanes ratio;
    for (int s = 0; s < kSubframes; ++s)
        ratio[s] = table[secondary.intensity[s]];
    const Lanes other = 2.0f - ratio;
    for (unsigned i = header_.base_band_count; i < header_.total_band_count; ++i) {
        const Lanes source = primary.spectra[i];
        secondary.spectra[i] = source * other;
        primary.spectra[i] = source * ratio;
    }
}

void Decoder::apply_mid_side(Channel& mid, Channel& side) {
    const float inverse_root2 = static_cast<float>(1.0 / std::sqrt(2.0));
    for (unsigned i = 0; i < header_.base_band_count; ++i) {
        const Lanes m = mid.spectra[i];
        const Lanes d = side.spectra[i];
        mid.spectra[i] = (m + d) * inverse_root2;
        side.spectra[i] = (m - d) * inverse_root2;
    }
}

void Decoder::write_pcm(Channel& channel, unsigned index, std::span<int16_t> interleaved) {
    FrameBlock samples;
    synthesize(channel.spectra, channel.last, samples);
    std::array<int16_t, kFrameSamples> pcm;
    to_pcm(samples, pcm);
    const size_t stride = header_.channels;
    int16_t* out = interleaved.data() + index;
    for (int s = 0; s < kSubframes; ++s)
        for (int i = 0; i < kSubframeSize; ++i)
            out[(static_cast<size_t>(s) * kSubframeSize + i) * stride] = pcm[i * kSubframes + s];
}

void Decoder::silence(std::span<int16_t> interleaved) {
    std::fill(interleaved.begin(), interleaved.end(), int16_t{0});
    restart();
}

} // namespace hca
