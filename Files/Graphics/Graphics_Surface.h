// Surfaces: off-screen render targets. Id 0 is the application surface, the one the tool uses.
#pragma once
#include <SDL2/SDL.h>

constexpr int ApplicationSurfaceId = 0;

bool Surface_Exists(int id);
// The size the surface has, or will have at the next prepare after a resize.
int Surface_Width(int id);
int Surface_Height(int id);
void Surface_Resize(int id, int width, int height);

// Creates the surface when missing and applies a pending resize; false when that fails.
bool Surface_Prepare(int id, int defaultWidth, int defaultHeight);
SDL_Texture* Surface_Texture(int id);
void Surface_ReleaseAll();
