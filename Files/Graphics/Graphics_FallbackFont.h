// Glyphs the game data's font lacks, drawn from a system font that has them, so that a name in any
// script shows on the status line. Each glyph is rendered once and kept; a character that no font
// has is drawn as a box.
#pragma once
#include "Graphics/Graphics_Handle.h"
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct FallbackGlyph {
    int width = 0; // of the bitmap, in pixels
    int height = 0;
    int left = 0; // from the pen to the bitmap
    int top = 0;  // from the top of the line to the bitmap
    int advance = 0;
    bool colour = false;           // its own colours (emoji), not the text's
    std::vector<uint32_t> pixels;  // RGBA32: white with the coverage in alpha, or a colour glyph's own
    mutable TextureHandle texture; // made from `pixels` when first drawn
};

// A glyph of one system font (or character, where the system renders by character) at a size.
struct FallbackKey {
    int font = 0;
    uint32_t glyph = 0;
    int pixels = 0; // to the em
    int lineHeight = 0;
    auto operator<=>(const FallbackKey&) const = default;
};
// The glyph for `key`, rendered by `render` the first time; null when it rendered nothing.
const FallbackGlyph* Fallback_Glyph(const FallbackKey& key,
                                    const std::function<std::optional<FallbackGlyph>()>& render);
// The placeholder for a character no font has: an outlined box on the baseline.
const FallbackGlyph* Fallback_Box(int pixels, int lineHeight);
// The glyph's picture for the current renderer; null for a blank one.
SDL_Texture* Fallback_Texture(const FallbackGlyph& glyph);
// Before the renderer goes.
void Fallback_ReleaseAll();
