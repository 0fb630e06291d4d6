#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace hca::testing {

bool ffmpeg_available();

// Decodes a stream with ffmpeg (through temporary files) into interleaved 16-bit samples, or nothing
// if ffmpeg fails.
std::optional<std::vector<int16_t>> ffmpeg_decode(const std::vector<uint8_t>& stream);

// Largest difference between our samples and ffmpeg's, whose polarity is the opposite of ours.
int difference_to_ffmpeg(const std::vector<int16_t>& ours, const std::vector<int16_t>& theirs);

// Interleaved 16-bit samples of a 16-bit WAV file.
std::vector<int16_t> read_wav_pcm16(const std::filesystem::path& wav_file);

} // namespace hca::testing
