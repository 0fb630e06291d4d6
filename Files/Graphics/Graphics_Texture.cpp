#include "Graphics/Graphics_Texture.h"
#include "Graphics/Graphics_Handle.h"
#include "Graphics/Graphics_Window.h"
#include "IO/IO_GameData.h"
#include "IO/IO_Png.h"
#include "Runner/Runner_Log.h"
#include <algorithm>
#include <cmath>

namespace {
std::vector<TextureHandle> pages;

TextureHandle Upload(const IO_RgbaImage& image, bool interpolate) {
    TextureHandle texture(SDL_CreateTexture(Graphics_Renderer(), SDL_PIXELFORMAT_RGBA32,
                                            SDL_TEXTUREACCESS_STATIC, image.width, image.height));
    if (!texture)
        return texture;
    SDL_UpdateTexture(texture.get(), nullptr, image.pixels.data(), image.width * 4);
    SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture.get(), interpolate ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return texture;
}
} // namespace

bool Texture_LoadPages(const std::vector<TexturePageData>& data, bool interpolate) {
    pages.clear();
    for (size_t index = 0; index < data.size(); ++index) {
        IO_RgbaImage image;
        std::string error;
        if (!IO_DecodePng(data[index].png.data(), data[index].png.size(), image, error)) {
            Runner_Log("Texture page %zu: %s\n", index, error.c_str());
            return false;
        }
        pages.push_back(Upload(image, interpolate));
        if (!pages.back()) {
            Runner_Log("Texture page %zu could not be uploaded: %s\n", index, SDL_GetError());
            return false;
        }
    }
    return true;
}

void Texture_ReleaseAll() {
    pages.clear();
}
int Texture_PageCount() {
    return int(pages.size());
}

void Texture_Modulate(SDL_Texture* texture, uint32_t colour, double alpha) {
    SDL_SetTextureColorMod(texture, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    SDL_SetTextureAlphaMod(texture, uint8_t(std::lround(std::clamp(alpha, 0.0, 1.0) * 255)));
}

void Texture_Draw(int page, const TextureBlit& blit) {
    if (page < 0 || page >= int(pages.size()))
        return;
    SDL_Texture* texture = pages[size_t(page)].get();
    Texture_Modulate(texture, blit.colour, blit.alpha);
    // The plain copy is the fast path on every renderer.
    if (blit.angle == 0 && blit.flip == SDL_FLIP_NONE)
        SDL_RenderCopyF(Graphics_Renderer(), texture, &blit.source, &blit.destination);
    else
        SDL_RenderCopyExF(Graphics_Renderer(), texture, &blit.source, &blit.destination, blit.angle,
                          &blit.centre, blit.flip);
}
