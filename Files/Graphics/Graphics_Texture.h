// Texture pages: the game data's PNG images as renderer textures, and drawing parts of them.
#pragma once
#include "Graphics/Graphics_RenderList.h"
#include <SDL2/SDL.h>
#include <cstdint>
#include <vector>

struct GameData;

// Decodes and uploads every page, down to the lowest row a sprite frame or glyph uses (the rest is
// never drawn); false (with a log line) when one cannot be decoded or uploaded.
bool Texture_LoadPages(const GameData& data, bool interpolate);
void Texture_ReleaseAll();

// How a piece of a page lands on the target: the colour multiplies, alpha scales the opacity.
struct TextureBlit {
    SDL_Rect source{};
    SDL_FRect destination{};
    double angle = 0;    // degrees, clockwise on the target
    SDL_FPoint centre{}; // of the rotation, relative to the destination's corner
    SDL_RendererFlip flip = SDL_FLIP_NONE;
    uint32_t colour = 0xFFFFFF;
    double alpha = 1;
};

void Texture_Draw(int page, const TextureBlit& blit);
// Parts of a page, unturned and unflipped, all in one colour and alpha (a line of text).
void Texture_DrawPieces(int page, const RenderPiece* pieces, size_t count, uint32_t colour, double alpha);
// Colour and alpha as the renderer's modulation values.
SDL_Color Texture_Modulation(uint32_t colour, double alpha);
