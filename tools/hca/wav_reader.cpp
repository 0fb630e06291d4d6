#include "wav_reader.h"

#include "hca_error.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>

namespace hca {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr unsigned kMaxWavChannels = 8;
constexpr size_t kMaxFmtBytes = 64;

uint32_t le(std::span<const uint8_t> data, size_t offset, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | data[offset + i];
    return value;
}

float sample_at(const uint8_t* p, unsigned bits, bool is_float) {
    switch (bits) {
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
        uint32_t word =
            uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
        if (is_float)
            return std::bit_cast<float>(word);
        return static_cast<float>(static_cast<double>(static_cast<int32_t>(word)) / 2147483648.0);
    }
    }
}

} // namespace

WavReader::WavReader(const ByteSource& file) : file_(file) {
    const uint64_t size = file.size();
    std::array<uint8_t, 12> riff{};
    if (size >= riff.size())
        file.read(0, riff);
    if (size < 12 || le(riff, 0, 4) != 0x46464952u || le(riff, 8, 4) != 0x45564157u)
        throw FormatError("not a WAV file (no RIFF/WAVE signature)");
    std::vector<uint8_t> fmt;
    bool has_data = false;
    uint64_t data_size = 0;
    uint64_t offset = 12;
    while (offset + 8 <= size) {
        std::array<uint8_t, 8> chunk{};
        file.read(offset, chunk);
        const uint32_t id = le(chunk, 0, 4);
        const uint64_t body_start = offset + 8;
        const uint64_t declared = le(chunk, 4, 4);
        // A data chunk running past the end is a write that never finished (a full disk, a killed
        // converter): encoding what is there would replace a track by a cut-off one.
        if (id == 0x61746164u && declared > size - body_start)
            throw FormatError("WAV file is incomplete: its data chunk runs past the end of the file");
        const uint64_t body_size = std::min<uint64_t>(declared, size - body_start);
        if (id == 0x20746D66u) { // "fmt "
            fmt.resize(std::min<uint64_t>(body_size, kMaxFmtBytes));
            file.read(body_start, fmt);
        } else if (id == 0x61746164u) { // "data"
            has_data = true;
            data_offset_ = body_start;
            data_size = body_size;
        }
        offset = body_start + body_size + (body_size & 1);
    }
    if (fmt.empty())
        throw FormatError("WAV file has no fmt chunk");
    if (fmt.size() < 16)
        throw FormatError("WAV fmt chunk too short");
    tag_ = static_cast<uint16_t>(le(fmt, 0, 2));
    channels_ = le(fmt, 2, 2);
    sample_rate_ = le(fmt, 4, 4);
    block_align_ = le(fmt, 12, 2);
    bits_ = le(fmt, 14, 2);
    if (tag_ == kFormatExtensible) {
        if (fmt.size() < 26)
            throw FormatError("WAV extensible fmt chunk too short");
        tag_ = static_cast<uint16_t>(le(fmt, 24, 2)); // first field of the sub-format GUID
    }
    if (tag_ != kFormatPcm && tag_ != kFormatFloat)
        throw FormatError("unsupported WAV sample format " + std::to_string(tag_));
    const bool pcm_bits = bits_ == 8 || bits_ == 16 || bits_ == 24 || bits_ == 32;
    if ((tag_ == kFormatPcm && !pcm_bits) || (tag_ == kFormatFloat && bits_ != 32))
        throw FormatError("unsupported WAV sample size of " + std::to_string(bits_) + " bits");
    if (channels_ < 1 || channels_ > kMaxWavChannels)
        throw FormatError("unsupported WAV channel count " + std::to_string(channels_));
    if (sample_rate_ < 8000 || sample_rate_ > 192000)
        throw FormatError("unsupported WAV sample rate " + std::to_string(sample_rate_));
    if (block_align_ != channels_ * bits_ / 8)
        throw FormatError("inconsistent WAV block alignment");
    if (!has_data)
        throw FormatError("WAV file has no data chunk");
    frames_ = data_size / block_align_;
    if (frames_ == 0)
        throw FormatError("WAV file holds no samples");
}

void WavReader::read(uint64_t first, size_t count, std::span<float* const> out) {
    buffer_.resize(count * block_align_);
    file_.read(data_offset_ + first * block_align_, buffer_);
    const unsigned bytes_per_sample = bits_ / 8;
    const bool is_float = tag_ == kFormatFloat;
    for (unsigned c = 0; c < channels_; ++c) {
        const uint8_t* in = buffer_.data() + c * bytes_per_sample;
        float* samples = out[c];
        if (bits_ == 16 && !is_float) { // the common case, in a loop the compiler vectorises
            for (size_t f = 0; f < count; ++f, in += block_align_)
                samples[f] = static_cast<int16_t>(in[0] | (in[1] << 8)) / 32768.0f;
            continue;
        }
        for (size_t f = 0; f < count; ++f, in += block_align_)
            samples[f] = sample_at(in, bits_, is_float);
    }
}

PcmAudio read_wav(std::span<const uint8_t> file) {
    const MemoryBytes bytes(file);
    WavReader reader(bytes);
    PcmAudio audio;
    audio.sample_rate = reader.sample_rate();
    audio.channels.assign(reader.channel_count(), std::vector<float>(reader.frames()));
    std::vector<float*> out;
    for (auto& channel : audio.channels)
        out.push_back(channel.data());
    reader.read(0, reader.frames(), out);
    return audio;
}

} // namespace hca
