// The game data file: the FORM container and every chunk in the runtime's order.
#pragma once
#include "FontRaster.h"
#include <cstdint>
#include <vector>

// A texture-page item: where a (cropped) picture lies on the page and where it goes in its frame.
struct TextureItem {
    int sourceX, sourceY, sourceWidth, sourceHeight;
    int targetX, targetY, targetWidth, targetHeight;
    int boundingWidth, boundingHeight;
};

struct Assets {
    std::vector<std::vector<TextureItem>> spriteFrames; // by sprite index
    std::vector<std::vector<uint8_t>> spriteMasks;      // one collision mask per sprite
    TextureItem fontItem;
    std::vector<GlyphCell> glyphs; // rectangles within the font item
    std::vector<uint8_t> pagePng;
};

std::vector<uint8_t> WriteDataFile(const Assets& assets);
