#include "wav_writer.h"

#include "hca_error.h"

#include <bit>
#include <vector>

namespace hca {
namespace {

void put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put_id(std::vector<uint8_t>& out, const char (&id)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(id[i]));
}

constexpr uint32_t kSamplerChunkSize = 36 + 24;

void put_sampler(std::vector<uint8_t>& out, unsigned sample_rate, const WavLoop& loop) {
    put_id(out, "smpl");
    put(out, kSamplerChunkSize, 4);
    put(out, 0, 4);                           // manufacturer
    put(out, 0, 4);                           // product
    put(out, 1000000000ull / sample_rate, 4); // sample period in nanoseconds
    put(out, 60, 4);                          // MIDI unity note
    put(out, 0, 4);                           // pitch fraction
    put(out, 0, 4);                           // SMPTE format
    put(out, 0, 4);                           // SMPTE offset
    put(out, 1, 4);                           // one loop
    put(out, 0, 4);                           // no sampler data
    put(out, 0, 4);                           // loop id
    put(out, 0, 4);                           // forward loop
    put(out, loop.start, 4);
    put(out, loop.end - 1, 4); // inclusive end
    put(out, 0, 4);            // fraction
    put(out, 0, 4);            // play forever
}

} // namespace

std::vector<uint8_t> wav_header(unsigned channels, unsigned sample_rate, uint64_t frames,
                                std::optional<WavLoop> loop) {
    const uint64_t data_bytes = frames * channels * 2;
    const uint64_t sampler_bytes = loop ? 8 + kSamplerChunkSize : 0;
    const uint64_t riff_bytes = 4 + (8 + 16) + sampler_bytes + 8 + data_bytes;
    if (riff_bytes > 0xFFFFFFFFull)
        throw FormatError("decoded audio is too long for a WAV file");
    std::vector<uint8_t> header;
    put_id(header, "RIFF");
    put(header, riff_bytes, 4);
    put_id(header, "WAVE");
    put_id(header, "fmt ");
    put(header, 16, 4);
    put(header, 1, 2); // integer PCM
    put(header, channels, 2);
    put(header, sample_rate, 4);
    put(header, uint64_t{sample_rate} * channels * 2, 4);
    put(header, channels * 2, 2);
    put(header, 16, 2);
    if (loop)
        put_sampler(header, sample_rate, *loop);
    put_id(header, "data");
    put(header, data_bytes, 4);
    return header;
}

std::span<const uint8_t> wav_sample_bytes(std::span<int16_t> samples) {
    if constexpr (std::endian::native == std::endian::big)
        for (int16_t& sample : samples)
            sample =
                static_cast<int16_t>(static_cast<uint16_t>(sample) >> 8 | static_cast<uint16_t>(sample) << 8);
    return {reinterpret_cast<const uint8_t*>(samples.data()), samples.size_bytes()};
}

} // namespace hca
