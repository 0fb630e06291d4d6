// Decoding the texture pages: a PNG file in memory to 8-bit RGBA pixels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct IO_RgbaImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels; // width x height x 4 bytes, rows top to bottom, straight alpha
};

// False with a message when the bytes are not a PNG file libpng can decode.
bool IO_DecodePng(const uint8_t* data, size_t length, IO_RgbaImage& out, std::string& error);
