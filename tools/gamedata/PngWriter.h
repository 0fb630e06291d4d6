#pragma once
#include "Image.h"
#include <cstdint>
#include <vector>

// The picture as an 8-bit RGBA PNG file. Throws std::runtime_error on failure.
std::vector<uint8_t> EncodePng(const Image& image);
