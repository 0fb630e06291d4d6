// What --info reports of a container's stream, read from the stream itself in this process: the HCA
// header, or the Ogg Vorbis headers and last page. Nothing is decoded and no helper runs for it.
#pragma once
#include "app/actions/action_files.h"
#include <cstdint>
#include <string>

namespace tool {
// The stream starting `offset` bytes into `container`; not valid when its headers cannot be read or
// (HCA) the file is too short for the frames the header announces.
WavInfo StreamInfo(const std::string& container, bool ogg, int64_t offset);
} // namespace tool
