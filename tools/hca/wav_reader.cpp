#include "wav_reader.h"

#include "hca_error.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <string>

namespace hca {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr unsigned kMaxWavChannels = 8;

uint32_t le(std::span<const uint8_t> data, size_t offset, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | data[offset + i];
    return value;
}

struct WavFormat {
    uint16_t tag = 0;
    unsigned channels = 0;
    unsigned sample_rate = 0;
    unsigned block_align = 0;
    unsigned bits = 0;
};

WavFormat parse_fmt(std::span<const uint8_t> body) {
    if (body.size() < 16)
        throw FormatError("WAV fmt chunk too short");
    WavFormat format;
    format.tag = static_cast<uint16_t>(le(body, 0, 2));
    format.channels = le(body, 2, 2);
    format.sample_rate = le(body, 4, 4);
    format.block_align = le(body, 12, 2);
    format.bits = le(body, 14, 2);
    if (format.tag == kFormatExtensible) {
        if (body.size() < 26)
            throw FormatError("WAV extensible fmt chunk too short");
        format.tag = static_cast<uint16_t>(le(body, 24, 2)); // first field of the sub-format GUID
    }
    if (format.tag != kFormatPcm && format.tag != kFormatFloat)
        throw FormatError("unsupported WAV sample format " + std::to_string(format.tag));
    bool pcm_bits = format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32;
    if ((format.tag == kFormatPcm && !pcm_bits) || (format.tag == kFormatFloat && format.bits != 32))
        throw FormatError("unsupported WAV sample size of " + std::to_string(format.bits) + " bits");
    if (format.channels < 1 || format.channels > kMaxWavChannels)
        throw FormatError("unsupported WAV channel count " + std::to_string(format.channels));
    if (format.sample_rate < 8000 || format.sample_rate > 192000)
        throw FormatError("unsupported WAV sample rate " + std::to_string(format.sample_rate));
    if (format.block_align != format.channels * format.bits / 8)
        throw FormatError("inconsistent WAV block alignment");
    return format;
}

float sample_at(const uint8_t* p, const WavFormat& format) {
    switch (format.bits) {
    case 8:
        return (static_cast<int>(p[0]) - 128) / 128.0f;
    case 16:
        return static_cast<int16_t>(p[0] | (p[1] << 8)) / 32768.0f;
    case 24: {
        int32_t value =
            static_cast<int32_t>((uint32_t(p[0]) << 8) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 24));
        return static_cast<float>(value >> 8) / 8388608.0f;
    }
    default: {
        uint32_t bits =
            uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
        if (format.tag == kFormatFloat)
            return std::bit_cast<float>(bits);
        return static_cast<float>(static_cast<double>(static_cast<int32_t>(bits)) / 2147483648.0);
    }
    }
}

PcmAudio convert(std::span<const uint8_t> data, const WavFormat& format) {
    const size_t frames = data.size() / format.block_align;
    const size_t bytes_per_sample = format.bits / 8;
    PcmAudio audio;
    audio.sample_rate = format.sample_rate;
    audio.channels.assign(format.channels, std::vector<float>(frames));
    for (size_t f = 0; f < frames; ++f) {
        const uint8_t* frame = data.data() + f * format.block_align;
        for (unsigned c = 0; c < format.channels; ++c)
            audio.channels[c][f] = sample_at(frame + c * bytes_per_sample, format);
    }
    return audio;
}

} // namespace

PcmAudio read_wav(std::span<const uint8_t> file) {
    if (file.size() < 12 || le(file, 0, 4) != 0x46464952u || le(file, 8, 4) != 0x45564157u)
        throw FormatError("not a WAV file (no RIFF/WAVE signature)");
    std::optional<WavFormat> format;
    std::optional<std::span<const uint8_t>> data;
    size_t offset = 12;
    while (offset + 8 <= file.size()) {
        const uint32_t id = le(file, offset, 4);
        const size_t declared = le(file, offset + 4, 4);
        const size_t body_start = offset + 8;
        // A writer that could not seek back leaves the data size unset or too large: take what is there.
        const size_t size = std::min(declared, file.size() - body_start);
        auto body = file.subspan(body_start, size);
        if (id == 0x20746D66u) // "fmt "
            format = parse_fmt(body);
        else if (id == 0x61746164u) // "data"
            data = body;
        offset = body_start + size + (size & 1);
    }
    if (!format)
        throw FormatError("WAV file has no fmt chunk");
    if (!data)
        throw FormatError("WAV file has no data chunk");
    if (data->size() < format->block_align)
        throw FormatError("WAV file holds no samples");
    return convert(*data, *format);
}

} // namespace hca
