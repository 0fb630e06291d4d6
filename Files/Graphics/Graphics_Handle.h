// Owning handles for the SDL objects of the graphics layer.
#pragma once
#include <SDL2/SDL.h>
#include <memory>

struct TextureDeleter {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
using TextureHandle = std::unique_ptr<SDL_Texture, TextureDeleter>;
