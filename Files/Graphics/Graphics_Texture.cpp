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

TextureHandle Upload(const IO_RgbaImage& image, bool interpolate) {
    TextureHandle texture(SDL_CreateTexture(Graphics_Renderer(), SDL_PIXELFORMAT_RGBA32,
                                            SDL_TEXTUREACCESS_STATIC, image.width, image.height));
    if (!texture)
        return texture;
    SDL_UpdateTexture(texture.get(), nullptr, image.pixels.data(), image.width * 4);
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

SDL_Color Texture_Modulation(uint32_t colour, double alpha) {
    return SDL_Color{uint8_t(colour & 0xFF), uint8_t((colour >> 8) & 0xFF), uint8_t((colour >> 16) & 0xFF),
                     uint8_t(std::lround(std::clamp(alpha, 0.0, 1.0) * 255))};
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
