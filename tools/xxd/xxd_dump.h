// The hex dump layout the container probe reads: a seven-digit offset, ": ", eight groups of
// two bytes separated by single blanks, two blanks, then the bytes as printable characters.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t DumpBytesPerLine = 16;

// One line (with its '\n') for up to 16 bytes starting at `offset`; a short line is padded so
// that its character column lines up with the others.
std::string DumpLine(uint64_t offset, std::string_view bytes, bool upperCase);
