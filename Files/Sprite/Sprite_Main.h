// Reading sprites (SPRT) into GameData; drawing them is the graphics layer's business.
#pragma once
#include "IO/IO_GameData.h"
#include "IO/IO_Reader.h"

// The SPRT chunk: one SpriteData per list entry (a hole keeps its index with an empty name).
bool Sprite_ReadChunk(IO_Reader& reader, uint32_t length, GameData& out);
