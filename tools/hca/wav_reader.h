#pragma once

#include "pcm_audio.h"

#include <cstdint>
#include <span>

namespace hca {

// Reads a RIFF/WAVE file: 8-, 16-, 24- and 32-bit integer or 32-bit float PCM, plain or extensible
// format, 1 to 8 channels, chunks in any order. Throws FormatError with a reason otherwise.
PcmAudio read_wav(std::span<const uint8_t> file);

} // namespace hca
