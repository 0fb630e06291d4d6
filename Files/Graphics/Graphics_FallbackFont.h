// Glyphs the game data's font lacks, drawn from a system font that has them, so that a name in any
// script shows on the status line. Each glyph is rendered once (Graphics_FallbackRender.h) and kept.
#pragma once
#include "Graphics/Graphics_Handle.h"
#include <cstdint>
#include <vector>

struct FallbackGlyph {
    int width = 0; // of the bitmap, in pixels
    int height = 0;
    int left = 0; // from the pen to the bitmap
    int top = 0;  // from the top of the line to the bitmap
    int advance = 0;
    std::vector<uint32_t> pixels;  // RGBA32, white with the coverage in alpha
    mutable TextureHandle texture; // made from `pixels` when first drawn
};

// The glyph for `character` at `points` in a line `lineHeight` pixels tall; null when no system font has it.
const FallbackGlyph* Fallback_Glyph(char32_t character, int points, int lineHeight);
// The glyph's picture (white, its coverage in alpha) for the current renderer; null for a blank one.
SDL_Texture* Fallback_Texture(const FallbackGlyph& glyph);
// Before the renderer goes.
void Fallback_ReleaseAll();
