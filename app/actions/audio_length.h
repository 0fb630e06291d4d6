// How long a chosen audio file is, from its own headers, without decoding it: what a busy window
// measures the files written from it against.
#pragma once
#include "app/actions/action_files.h"
#include <cstdint>
#include <string>

namespace tool {
// WAV from its chunks, Ogg Vorbis from its first and last pages, MP3 from its first frame (the frame
// count a VBR encoder notes there, or the size at the frame's bit rate); not valid otherwise.
WavInfo ReadAudioLength(const std::string& path);

// The sample position of an Ogg file's last page, 0 when it has none yet.
uint64_t ogg_last_position(const std::string& path);
} // namespace tool
