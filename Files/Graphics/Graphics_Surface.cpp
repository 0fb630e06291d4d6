#include "Graphics/Graphics_Surface.h"
#include "Graphics/Graphics_Handle.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_Window.h"
#include "Runner/Runner_Log.h"

namespace {
struct Surface {
    TextureHandle texture;
    int width = 0, height = 0;             // of the texture
    int wantedWidth = 0, wantedHeight = 0; // 0 until a size is asked for
};

Surface applicationSurface;

Surface* Find(int id) {
    return id == ApplicationSurfaceId ? &applicationSurface : nullptr;
}

bool Create(Surface& surface, int width, int height) {
    RenderList_Forget(); // it may draw the texture replaced here
    surface.texture.reset(SDL_CreateTexture(Graphics_Renderer(), SDL_PIXELFORMAT_ARGB8888,
                                            SDL_TEXTUREACCESS_TARGET, width, height));
    if (!surface.texture) {
        Runner_Log("Failed to create a %dx%d surface: %s\n", width, height, SDL_GetError());
        surface.width = surface.height = 0;
        return false;
    }
    // The data asks for interpolated pixels: the surface is stretched smoothly over the window.
    SDL_SetTextureScaleMode(surface.texture.get(), SDL_ScaleModeLinear);
    surface.width = width;
    surface.height = height;
    return true;
}
} // namespace

bool Surface_Exists(int id) {
    const Surface* surface = Find(id);
    return surface != nullptr && surface->texture != nullptr;
}

int Surface_Width(int id) {
    const Surface* surface = Find(id);
    if (surface == nullptr)
        return -1;
    return surface->wantedWidth > 0 ? surface->wantedWidth : surface->width;
}

int Surface_Height(int id) {
    const Surface* surface = Find(id);
    if (surface == nullptr)
        return -1;
    return surface->wantedHeight > 0 ? surface->wantedHeight : surface->height;
}

void Surface_Resize(int id, int width, int height) {
    Surface* surface = Find(id);
    if (surface == nullptr || width < 1 || height < 1)
        return;
    surface->wantedWidth = width;
    surface->wantedHeight = height;
}

bool Surface_Prepare(int id, int defaultWidth, int defaultHeight) {
    Surface* surface = Find(id);
    if (surface == nullptr)
        return false;
    const int width = surface->wantedWidth > 0 ? surface->wantedWidth : defaultWidth;
    const int height = surface->wantedHeight > 0 ? surface->wantedHeight : defaultHeight;
    if (surface->texture && surface->width == width && surface->height == height)
        return true;
    return Create(*surface, width, height);
}

SDL_Texture* Surface_Texture(int id) {
    Surface* surface = Find(id);
    return surface != nullptr ? surface->texture.get() : nullptr;
}

void Surface_ReleaseAll() {
    applicationSurface = Surface{};
}
