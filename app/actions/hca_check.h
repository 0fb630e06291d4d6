// The check that a replaced container's stream is whole and decodes, made in this process a block of
// frames at a time, rather than cut out and decoded into a WAV file by the helpers.
#pragma once
#include "app/actions/action_files.h"
#include <cstdint>

namespace tool {
// True when the file opens at `offset` with a valid HCA header, every frame it announces is there with
// its checksum intact, and its first and last frames decode (sync word, checksum and syntax). The
// checksums catch a frame damaged anywhere; decoding only the two ends keeps the check a small
// fraction of the encode it follows.
bool HcaStreamDecodes(const OpenFile& file, uint64_t offset);
} // namespace tool
