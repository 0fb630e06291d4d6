#include "Graphics/Graphics_Texture.h"
#include "Graphics/Graphics_Handle.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_Window.h"
#include "IO/IO_GameData.h"
#include "IO/IO_Png.h"
#include "Runner/Runner_Log.h"
#include <algorithm>
#include <cmath>

namespace {
std::vector<TextureHandle> pages;

// For each page, the rows down to the bottom of the lowest frame or glyph drawn from it.
std::vector<int> RowsInUse(const GameData& data) {
    std::vector<int> rows(data.texturePages.size(), 1);
    const auto reach = [&rows](uint16_t page, int bottom) {
        if (page < rows.size())
            rows[page] = std::max(rows[page], bottom);
    };
    for (const SpriteData& sprite : data.sprites)
        for (const TexturePageItem& frame : sprite.frames)
            reach(frame.page, frame.sourceY + frame.sourceHeight);
    for (const FontData& font : data.fonts) {
        reach(font.item.page, font.item.sourceY + font.item.sourceHeight);
        for (const GlyphData& glyph : font.glyphs)
            reach(font.item.page, font.item.sourceY + glyph.y + glyph.height);
    }
    return rows;
}

// The page decoded straight into a locked texture, down to `rowsInUse`; null (logged) on failure.
TextureHandle LoadPage(size_t index, const TexturePageData& page, int rowsInUse, bool interpolate) {
    IO_PngReader png;
    std::string error;
    if (!png.Open(page.png.data(), page.png.size(), error)) {
        Runner_Log("Texture page %zu: %s\n", index, error.c_str());
        return nullptr;
    }
    const int rows = std::min(png.Height(), rowsInUse);
    TextureHandle texture(SDL_CreateTexture(Graphics_Renderer(), SDL_PIXELFORMAT_RGBA32,
                                            SDL_TEXTUREACCESS_STREAMING, png.Width(), rows));
    void* pixels = nullptr;
    int pitch = 0;
    if (!texture || SDL_LockTexture(texture.get(), nullptr, &pixels, &pitch) != 0) {
        Runner_Log("Texture page %zu could not be uploaded: %s\n", index, SDL_GetError());
        return nullptr;
    }
    const bool decoded = png.ReadRows(static_cast<uint8_t*>(pixels), size_t(pitch), rows, error);
    SDL_UnlockTexture(texture.get());
    if (!decoded) {
        Runner_Log("Texture page %zu: %s\n", index, error.c_str());
        return nullptr;
    }
    SDL_SetTextureScaleMode(texture.get(), interpolate ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return texture;
}
} // namespace

bool Texture_LoadPages(const GameData& game, bool interpolate) {
    pages.clear();
    const std::vector<int> rows = RowsInUse(game);
    for (size_t index = 0; index < game.texturePages.size(); ++index) {
        pages.push_back(LoadPage(index, game.texturePages[index], rows[index], interpolate));
        if (!pages.back())
            return false;
    }
    return true;
}

void Texture_ReleaseAll() {
    pages.clear();
}

SDL_Color Texture_Modulation(uint32_t colour, double alpha) {
    return SDL_Color{
        uint8_t(colour & 0xFF), uint8_t((colour >> 8) & 0xFF), uint8_t((colour >> 16) & 0xFF),
        // Rounds half up, as lround does for these non-negative values, without a libm call per glyph.
        uint8_t(std::clamp(alpha, 0.0, 1.0) * 255 + 0.5)};
}

void Texture_Draw(int page, const TextureBlit& blit) {
    if (page < 0 || page >= int(pages.size()))
        return;
    RenderCopy copy;
    copy.texture = pages[size_t(page)].get();
    copy.source = &blit.source;
    copy.destination = &blit.destination;
    copy.angle = blit.angle;
    copy.centre = blit.centre;
    copy.flip = blit.flip;
    copy.modulation = Texture_Modulation(blit.colour, blit.alpha);
    Render_Copy(copy);
}

void Texture_DrawPieces(int page, const RenderPiece* pieces, size_t count, uint32_t colour, double alpha) {
    if (page < 0 || page >= int(pages.size()))
        return;
    Render_CopyPieces(pages[size_t(page)].get(), pieces, count, Texture_Modulation(colour, alpha),
                      SDL_BLENDMODE_BLEND);
}
