#pragma once

#include "pcm_audio.h"

#include <string>
#include <vector>

namespace hca::testing {

enum class Signal { Tones, ChordSweep, Noise, Silence, Clipping, MusicMix };

const std::vector<Signal>& all_signals();
std::string signal_name(Signal signal);

// A deterministic stereo test signal.
PcmAudio make_signal(Signal signal, double seconds, unsigned sample_rate = 48000);

// Signal-to-noise ratio in dB of `decoded` (interleaved 16-bit) against `source`, with the decoded
// stream starting `delay` samples early and its polarity multiplied by `polarity`.
double snr_db(const PcmAudio& source, const std::vector<int16_t>& decoded, size_t delay, int polarity);

} // namespace hca::testing
