#include "Graphics/Graphics_FallbackFont.h"
#include "Graphics/Graphics_Window.h"
#include <algorithm>
#include <cmath>
#include <map>

namespace {
std::map<FallbackKey, std::optional<FallbackGlyph>>& Glyphs() {
    static std::map<FallbackKey, std::optional<FallbackGlyph>> glyphs;
    return glyphs;
}

// Half an em wide, three quarters of one tall, standing on where a face's baseline usually is.
FallbackGlyph DrawBox(int pixels, int lineHeight) {
    FallbackGlyph box;
    box.width = std::max(4, int(std::lround(pixels * 0.5)));
    box.height = std::max(5, int(std::lround(pixels * 0.75)));
    box.left = 1;
    box.top = lineHeight - int(std::ceil(pixels * 0.25)) - box.height;
    box.advance = box.width + 2;
    box.pixels.resize(size_t(box.width) * box.height, 0x00FFFFFFu);
    for (int y = 0; y < box.height; ++y)
        for (int x = 0; x < box.width; ++x)
            if (x == 0 || y == 0 || x == box.width - 1 || y == box.height - 1)
                box.pixels[size_t(y) * box.width + x] = 0xFFFFFFFFu;
    return box;
}
} // namespace

const FallbackGlyph* Fallback_Glyph(const FallbackKey& key,
                                    const std::function<std::optional<FallbackGlyph>()>& render) {
    auto [entry, added] = Glyphs().try_emplace(key);
    if (added)
        entry->second = render();
    return entry->second ? &*entry->second : nullptr;
}

const FallbackGlyph* Fallback_Box(int pixels, int lineHeight) {
    return Fallback_Glyph({-1, 0, pixels, lineHeight}, [&] { return DrawBox(pixels, lineHeight); });
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
