// The check that a replaced container's stream really decodes, made in this process on the bytes
// already read, rather than cut out and decoded into a WAV file by the helpers.
#pragma once
#include <string_view>

namespace batch {
// True when `stream` opens with a valid HCA header and every frame it announces is there and decodes
// (sync word, checksum and syntax); the samples are thrown away.
bool HcaStreamDecodes(std::string_view stream);
} // namespace batch
