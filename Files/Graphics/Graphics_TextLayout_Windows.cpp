// One glyph per character, left to right: the data's own, else GDI's (Graphics_FallbackRender), else
// a box. Right-to-left order and shaping are not done here yet.
#include "Graphics/Graphics_FallbackRender.h"
#include "Graphics/Graphics_TextLayout.h"
#include <cmath>

LaidOutLine Layout_Line(const TextFont& font, std::u32string_view line) {
    LaidOutLine laidOut;
    // Points at 96 dots an inch, as the data's fonts were drawn.
    const int pixels = int(std::lround(font.data.size * 96.0 / 72));
    for (const char32_t character : line) {
        if (const GlyphData* own = font.Glyph(character)) {
            laidOut.glyphs.push_back({own, nullptr, laidOut.width, 0});
            laidOut.width += own->shift * font.data.scaleX;
            continue;
        }
        if (character < U' ')
            continue;
        const FallbackGlyph* glyph = Fallback_Glyph({0, uint32_t(character), pixels, font.lineHeight}, [&] {
            return Fallback_Render(character, pixels, font.lineHeight);
        });
        if (glyph == nullptr)
            glyph = Fallback_Box(pixels, font.lineHeight);
        laidOut.glyphs.push_back({nullptr, glyph, laidOut.width, 0});
        laidOut.width += glyph->advance * font.data.scaleX;
    }
    return laidOut;
}

std::vector<size_t> Layout_ClusterStarts(std::u32string_view text) {
    std::vector<size_t> starts;
    for (size_t index = 0; index < text.size(); ++index)
        starts.push_back(index);
    return starts;
}
