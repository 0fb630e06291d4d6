// One line of text laid out in a font of the game data: the glyphs in the order they are drawn, each
// placed from the line's left edge, ordered by the bidirectional algorithm and shaped.
#pragma once
#include "IO/IO_GameData.h"
#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FallbackGlyph;

// The data's own glyph, or else a system font's (or the box for a character none has).
struct PlacedGlyph {
    const GlyphData* own = nullptr;
    const FallbackGlyph* fallback = nullptr;
    double x = 0; // from the line's left edge, in the window's pixels before any projection
    double y = 0; // down from the line's top, for a system font's glyph
};

struct LaidOutLine {
    double width = 0;
    std::vector<PlacedGlyph> glyphs;
};

struct TextFont {
    FontData data;
    std::unordered_map<char32_t, size_t> glyphByCharacter;
    int lineHeight = 0; // the tallest glyph

    const GlyphData* Glyph(char32_t character) const {
        const auto found = glyphByCharacter.find(character);
        return found == glyphByCharacter.end() ? nullptr : &data.glyphs[found->second];
    }
};

// `line` holds no '\n'.
LaidOutLine Layout_Line(const TextFont& font, std::u32string_view line);
// The offsets at which the text's clusters (a character with its marks, a syllable, an emoji
// sequence) begin, the first 0; cutting there splits none.
std::vector<size_t> Layout_ClusterStarts(std::u32string_view text);
