// The font's bitmap: glyphs rasterised with FreeType into one 256 x 128 picture of 16-pixel rows.
#pragma once
#include "Image.h"
#include <cstdint>
#include <string>
#include <vector>

struct GlyphCell {
    uint32_t character;
    int x, y, width, height; // within the font picture
    int advance;             // pen movement after the glyph
    int bearing;             // left bearing: where the cell starts relative to the pen
};

struct FontBitmap {
    Image picture; // white, alpha = coverage
    std::vector<GlyphCell> glyphs;
};

constexpr int FontPictureWidth = 256, FontPictureHeight = 128, GlyphCellHeight = 16;

// Characters 32-126 from `textFont`, then U+25B7 from `symbolFont`, at `points` on a 96 dpi screen.
// Throws std::runtime_error when a font cannot be loaded or the glyphs do not fit.
FontBitmap RasteriseFont(const std::string& textFont, const std::string& symbolFont, int points);
