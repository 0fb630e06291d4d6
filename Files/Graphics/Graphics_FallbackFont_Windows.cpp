// Windows has no fontconfig: until a lookup through the system's own font fallback is written, glyphs
// the data's font lacks are left out there, as they were everywhere before.
#include "Graphics/Graphics_FallbackFont.h"

const FallbackGlyph* Fallback_Glyph(char32_t, int, int) {
    return nullptr;
}

SDL_Texture* Fallback_Texture(const FallbackGlyph& glyph) {
    return glyph.texture.get();
}

void Fallback_ReleaseAll() {}
