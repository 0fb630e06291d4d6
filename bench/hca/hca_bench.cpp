// Library throughput: decoding and encoding a stereo 48 kHz music-like signal.
#include "hca_encoder.h"
#include "hca_stream_decoding.h"
#include "test_signals.h"

#include <benchmark/benchmark.h>

namespace {

using namespace hca;

constexpr double kSeconds = 10.0;

const PcmAudio& source() {
    static const PcmAudio audio = testing::make_signal(testing::Signal::MusicMix, kSeconds);
    return audio;
}

void encode_at(benchmark::State& state, Quality quality) {
    EncoderOptions options;
    options.quality = quality;
    for (auto _ : state)
        benchmark::DoNotOptimize(encode(source(), options));
    // Items are seconds of audio, so items_per_second reads as the real-time factor.
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSeconds));
}

void BM_EncodeHigh(benchmark::State& state) {
    encode_at(state, Quality::High);
}
void BM_EncodeHighest(benchmark::State& state) {
    encode_at(state, Quality::Highest);
}

void BM_Decode(benchmark::State& state) {
    const auto stream = encode(source(), EncoderOptions{});
    int64_t checksum = 0;
    for (auto _ : state) {
        decode_stream(stream, {}, [&](std::span<const int16_t> pcm) { checksum += pcm[0]; });
        benchmark::DoNotOptimize(checksum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSeconds));
}

} // namespace

BENCHMARK(BM_EncodeHigh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeHighest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
