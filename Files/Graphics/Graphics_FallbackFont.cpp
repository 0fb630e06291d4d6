#include "Graphics/Graphics_FallbackFont.h"
#include "Graphics/Graphics_FallbackRender.h"
#include "Graphics/Graphics_Window.h"
#include <cmath>
#include <map>
#include <optional>

namespace {
// By the font's size in points and line height, and the character; nothing for one no font has.
using GlyphCache = std::map<std::pair<std::pair<int, int>, char32_t>, std::optional<FallbackGlyph>>;

GlyphCache& Glyphs() {
    static GlyphCache glyphs;
    return glyphs;
}
} // namespace

const FallbackGlyph* Fallback_Glyph(char32_t character, int points, int lineHeight) {
    auto [entry, added] = Glyphs().try_emplace({{points, lineHeight}, character});
    // Points at 96 dots an inch, as the data's fonts were drawn.
    if (added)
        entry->second = Fallback_Render(character, int(std::lround(points * 96.0 / 72)), lineHeight);
    return entry->second ? &*entry->second : nullptr;
}

SDL_Texture* Fallback_Texture(const FallbackGlyph& glyph) {
    if (!glyph.texture && !glyph.pixels.empty() && Graphics_Renderer() != nullptr) {
        glyph.texture.reset(SDL_CreateTexture(Graphics_Renderer(), SDL_PIXELFORMAT_RGBA32,
                                              SDL_TEXTUREACCESS_STATIC, glyph.width, glyph.height));
        if (glyph.texture) {
            SDL_UpdateTexture(glyph.texture.get(), nullptr, glyph.pixels.data(), glyph.width * 4);
            SDL_SetTextureBlendMode(glyph.texture.get(), SDL_BLENDMODE_BLEND);
        }
    }
    return glyph.texture.get();
}

void Fallback_ReleaseAll() {
    for (auto& [key, glyph] : Glyphs())
        if (glyph)
            glyph->texture.reset();
}
