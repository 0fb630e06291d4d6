// What a frame renders, recorded while its events draw and rendered only at its end, and only when
// it differs from the frame last presented: an idle window renders and presents nothing.
// Outside a frame (start-up, tests) every call renders at once.
#pragma once
#include <SDL2/SDL.h>
#include <functional>

// From here to RenderList_EndFrame the calls below are recorded.
void RenderList_BeginFrame();
// Renders and presents the recorded frame when `present` and it differs from the last presented
// one (or depends on what a target held before). True when it presented.
bool RenderList_EndFrame(bool present);
// Ends the recording without rendering it; whether it differs from the last presented frame.
bool RenderList_EndFrameUnshown();
// Renders and presents the last presented frame again (the window was exposed).
void RenderList_Repaint();
// The same, with `over` rendered on top before it is presented (its calls render at once).
void RenderList_RepaintWith(const std::function<void()>& over);
// Forgets the last presented frame, whose textures are about to go.
void RenderList_Forget();

void Render_SetTarget(SDL_Texture* target); // nullptr: the window
SDL_Texture* Render_Target();
void Render_SetClip(const SDL_Rect* clip); // nullptr: no clipping
// The whole target in one colour, clip or not.
void Render_Clear(SDL_Color colour);
// A rectangle (nullptr: the clip area) in a colour, blended with `blend`.
void Render_Fill(const SDL_Rect* rect, SDL_Color colour, SDL_BlendMode blend);
// Part of a texture (nullptr: all of it) onto the target (nullptr: all of it), its colour and alpha
// multiplied by `modulation`.
struct RenderCopy {
    SDL_Texture* texture = nullptr;
    const SDL_Rect* source = nullptr;
    const SDL_FRect* destination = nullptr;
    double angle = 0;
    SDL_FPoint centre{};
    SDL_RendererFlip flip = SDL_FLIP_NONE;
    SDL_Color modulation{255, 255, 255, 255};
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
};
void Render_Copy(const RenderCopy& copy);
// Many parts of one texture with the same modulation and blending (a line's glyphs), in order: as
// many Render_Copy calls, recorded in one.
struct RenderPiece {
    SDL_Rect source{};
    SDL_FRect destination{};
};
void Render_CopyPieces(SDL_Texture* texture, const RenderPiece* pieces, size_t count, SDL_Color modulation,
                       SDL_BlendMode blend);
