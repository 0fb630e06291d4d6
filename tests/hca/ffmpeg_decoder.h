#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace hca::testing {

bool ffmpeg_available();

// Decodes an HCA file with ffmpeg into interleaved 16-bit samples, or nothing if ffmpeg fails.
std::optional<std::vector<int16_t>> ffmpeg_decode(const std::filesystem::path& hca_file);

// Interleaved 16-bit samples of a 16-bit WAV file.
std::vector<int16_t> read_wav_pcm16(const std::filesystem::path& wav_file);

} // namespace hca::testing
