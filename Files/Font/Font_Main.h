// Reading fonts (FONT) into GameData: glyph rectangles within the font's texture-page item.
#pragma once
#include "IO/IO_GameData.h"
#include "IO/IO_Reader.h"

// The FONT chunk: one FontData per list entry (a hole keeps its index with an empty name). The
// 512-byte block after the records is not read.
bool Font_ReadChunk(IO_Reader& reader, uint32_t length, GameData& out);
