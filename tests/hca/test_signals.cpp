#include "test_signals.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace hca::testing {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

using Generator = float (*)(double t, unsigned channel, std::mt19937& random);

float tones(double t, unsigned channel, std::mt19937&) {
    const double shift = channel == 0 ? 1.0 : 1.5;
    return static_cast<float>(0.25 * std::sin(kTwoPi * 440.0 * shift * t) +
                              0.15 * std::sin(kTwoPi * 1000.0 * t) +
                              0.05 * std::sin(kTwoPi * 5000.0 * shift * t));
}

float chord_sweep(double t, unsigned channel, std::mt19937&) {
    // Three notes of a major chord whose root glides from 100 Hz to 4 kHz over 4 seconds.
    const double rate = std::log(40.0) / 4.0;
    double sum = 0.0;
    for (double ratio : {1.0, 1.26, 1.5}) {
        double phase = kTwoPi * 100.0 * ratio * (std::exp(rate * t) - 1.0) / rate;
        sum += std::sin(phase + channel);
    }
    return static_cast<float>(0.25 * sum);
}

float noise(double, unsigned, std::mt19937& random) {
    std::normal_distribution<float> gauss(0.0f, 0.25f);
    return std::clamp(gauss(random), -1.0f, 1.0f);
}

float silence(double, unsigned, std::mt19937&) {
    return 0.0f;
}

float clipping(double t, unsigned channel, std::mt19937&) {
    return static_cast<float>(std::clamp(2.0 * std::sin(kTwoPi * (220.0 + 110.0 * channel) * t), -1.0, 1.0));
}

float music_mix(double t, unsigned channel, std::mt19937& random) {
    // Bass, a plucked chord with harmonics, and hi-hat bursts, panned differently per channel.
    static constexpr double kNotes[] = {110.0, 146.8, 130.8, 98.0};
    const double beat = t * 2.0;
    const double in_beat = beat - std::floor(beat);
    const double root = kNotes[static_cast<int>(beat / 2.0) % 4];
    double bass = 0.3 * std::sin(kTwoPi * root * t) * std::exp(-2.0 * in_beat);
    double chord = 0.0;
    for (double ratio : {2.0, 2.52, 3.0}) {
        for (int harmonic = 1; harmonic <= 4; ++harmonic)
            chord += std::sin(kTwoPi * root * ratio * harmonic * t) / (harmonic * harmonic);
    }
    chord *= 0.08 * std::exp(-4.0 * in_beat);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    const double half_beat = beat * 2.0 - std::floor(beat * 2.0);
    double hat = 0.1 * uniform(random) * std::exp(-30.0 * half_beat);
    double pan = channel == 0 ? 0.7 : 0.3;
    return static_cast<float>(bass + chord * pan * 1.4 + hat * (1.4 - pan));
}

Generator generator_for(Signal signal) {
    switch (signal) {
    case Signal::Tones:
        return tones;
    case Signal::ChordSweep:
        return chord_sweep;
    case Signal::Noise:
        return noise;
    case Signal::Silence:
        return silence;
    case Signal::Clipping:
        return clipping;
    case Signal::MusicMix:
        break;
    }
    return music_mix;
}

} // namespace

const std::vector<Signal>& all_signals() {
    static const std::vector<Signal> signals = {Signal::Tones,   Signal::ChordSweep, Signal::Noise,
                                                Signal::Silence, Signal::Clipping,   Signal::MusicMix};
    return signals;
}

std::string signal_name(Signal signal) {
    static const char* const names[] = {"tones", "chord-sweep", "noise", "silence", "clipping", "music-mix"};
    return names[static_cast<int>(signal)];
}

PcmAudio make_signal(Signal signal, double seconds, unsigned sample_rate) {
    const size_t frames = static_cast<size_t>(seconds * sample_rate);
    const Generator generate = generator_for(signal);
    std::mt19937 random(7);
    PcmAudio audio;
    audio.sample_rate = sample_rate;
    audio.channels.assign(2, std::vector<float>(frames));
    for (size_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / sample_rate;
        for (unsigned c = 0; c < 2; ++c)
            // Quantise to 16 bits, as the WAV the encoder reads would be.
            audio.channels[c][n] = std::round(generate(t, c, random) * 32767.0f) / 32768.0f;
    }
    return audio;
}

double snr_db(const PcmAudio& source, const std::vector<int16_t>& decoded, size_t delay, int polarity) {
    const size_t channels = source.channels.size();
    double signal = 0.0;
    double error = 0.0;
    for (size_t n = 0; n < source.frames(); ++n) {
        for (size_t c = 0; c < channels; ++c) {
            const size_t index = (n + delay) * channels + c;
            const double expected = source.channels[c][n] * 32768.0;
            const double actual = index < decoded.size() ? polarity * decoded[index] : 0.0;
            signal += expected * expected;
            error += (expected - actual) * (expected - actual);
        }
    }
    if (error == 0.0)
        return std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(signal / error);
}

} // namespace hca::testing
