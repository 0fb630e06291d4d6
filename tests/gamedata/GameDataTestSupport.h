// Shared helpers of the game data tests: the embedded data and ways to alter a copy of it.
#pragma once
#include "IO/IO_GameData.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

std::vector<uint8_t> EmbeddedBytes();
// The embedded data loaded once; the tests fail (not crash) when it cannot be loaded.
const GameData& LoadedGame();
// Offset of the payload of the first chunk with `tag`, found by walking the container.
uint32_t ChunkPayload(const std::vector<uint8_t>& bytes, const char* tag);
uint32_t ReadU32(const std::vector<uint8_t>& bytes, uint32_t offset);
void WriteU32(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t value);
// Appends a chunk at the end of the container and fixes the container length.
void AppendChunk(std::vector<uint8_t>& bytes, const char tag[4], const std::vector<uint8_t>& payload);
// Loads `bytes`; the error message in `error`.
bool Load(const std::vector<uint8_t>& bytes, GameData& out, std::string& error);
// Keeps the runtime log off stderr while it lives (the loops below load thousands of times).
struct QuietLog {
    QuietLog();
    ~QuietLog();
    QuietLog(const QuietLog&) = delete;
    QuietLog& operator=(const QuietLog&) = delete;
};
struct RgbaImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels; // width x height x 4 bytes, rows top to bottom
};
// A whole PNG through the runtime's row reader; false with its message when it cannot be decoded.
bool DecodeWholePng(const uint8_t* data, size_t length, RgbaImage& out, std::string& error);
// Runs `body` with the runtime log sent to a temporary file instead of stderr; returns its text.
std::string CaptureLog(const std::function<void()>& body);
