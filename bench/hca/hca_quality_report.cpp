// Prints the signal-to-noise ratio of ffmpeg's and our decoding of our HCA encodings, per test signal
// and quality level, and the largest difference between the two decoders.
#include "ffmpeg_decoder.h"
#include "hca_encoder.h"
#include "hca_stream_decoding.h"
#include "test_signals.h"

#include <cmath>
#include <cstdio>

namespace {

using namespace hca;
using namespace hca::testing;

std::vector<int16_t> decode_ours(const std::vector<uint8_t>& stream) {
    std::vector<int16_t> out;
    decode_stream(stream, {},
                  [&](std::span<const int16_t> pcm) { out.insert(out.end(), pcm.begin(), pcm.end()); });
    return out;
}

} // namespace

int main() {
    const char* qualities[] = {"highest", "high", "middle", "low", "lowest"};
    std::printf("%-12s %-8s %8s %12s %12s %10s\n", "signal", "quality", "kbit/s", "ffmpeg SNR", "ours SNR",
                "max |diff|");
    for (Signal signal : all_signals()) {
        const PcmAudio audio = make_signal(signal, 4.0);
        for (const char* name : qualities) {
            EncoderOptions options;
            options.quality = *parse_quality(name);
            const auto stream = encode(audio, options);
            const auto theirs = ffmpeg_decode(stream);
            const auto ours = decode_ours(stream);
            const double kbits =
                frame_size_for(options, 2, audio.sample_rate) * 8.0 * audio.sample_rate / 1024 / 1000;
            const double ffmpeg_snr = theirs ? snr_db(audio, *theirs, kEncoderDelay, -1) : NAN;
            std::printf("%-12s %-8s %8.0f %12.2f %12.2f %10d\n", signal_name(signal).c_str(), name, kbits,
                        ffmpeg_snr, snr_db(audio, ours, kEncoderDelay, 1),
                        theirs ? difference_to_ffmpeg(ours, *theirs) : -1);
        }
    }
}
