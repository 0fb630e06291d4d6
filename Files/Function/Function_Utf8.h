// Character counting and indexing of UTF-8 texts, by the lead-byte rule the string built-ins use.
#pragma once
#include <cstddef>
#include <string_view>

// Bytes of the character that starts with this byte: 1 below 0xC0, 2 up to 0xDF, else 3.
size_t Utf8CharBytes(unsigned char lead);
size_t Utf8Count(std::string_view text);
// Byte offset of the character `characters` places after byteOffset, stopping at the end.
size_t Utf8Advance(std::string_view text, size_t byteOffset, size_t characters);
