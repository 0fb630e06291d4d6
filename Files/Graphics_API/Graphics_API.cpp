#include "Graphics_API/Graphics_API.h"
#include "Graphics/Graphics_BusyNote.h"
#include "Graphics/Graphics_Record.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_Sprite.h"
#include "Graphics/Graphics_State.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics/Graphics_Text.h"
#include "Graphics/Graphics_Texture.h"
#include "Graphics/Graphics_Window.h"
#include "IO/IO_GameData.h"
#include "Object/Object_Class.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Loop.h"
#include "Runner/Runner_Quiet.h"
#include "platform/Platform.h"
#include <SDL2/SDL.h>
#include <cmath>

namespace {
constexpr uint32_t InfoFlagSizeable = 0x40;
constexpr uint32_t InfoFlagBorderless = 0x4000;
constexpr uint64_t OptionInterpolatePixels = 0x2;

// Surface targets set and not yet reset within the frame.
int surfaceTargetDepth = 0;

void WindowSize(int& width, int& height) {
    Graphics_WindowSize(width, height);
}

void TargetIdentity() {
    int width = 0, height = 0;
    SDL_GetRendererOutputSize(Graphics_Renderer(), &width, &height);
    SDL_Texture* target = Render_Target();
    if (target != nullptr)
        SDL_QueryTexture(target, nullptr, nullptr, &width, &height);
    Graphics_SetIdentityProjection(width, height);
}

SDL_Color Opaque(uint32_t colour, uint8_t alpha = 255) {
    return SDL_Color{uint8_t(colour & 0xFF), uint8_t((colour >> 8) & 0xFF), uint8_t((colour >> 16) & 0xFF),
                     alpha};
}

void FillVisibleArea(uint32_t colour, uint8_t alpha) {
    Render_Fill(nullptr, Opaque(colour, alpha), SDL_BLENDMODE_BLEND); // the clip keeps it inside the port
}

// A background sprite repeated along the axes that tile, starting from the layer's offset.
void DrawTiledBackground(const LayerData& layer, const VisibleArea& area, uint32_t colour, double alpha) {
    const SpriteData* sprite = Sprite_Find(layer.spriteIndex);
    if (sprite == nullptr || sprite->width <= 0 || sprite->height <= 0)
        return;
    auto firstTile = [](bool tiles, double offset, double areaStart, int size) {
        return tiles ? offset - std::ceil((offset - areaStart) / size) * size : offset;
    };
    const double startX = firstTile(layer.tileH, layer.xOffset, area.x, sprite->width);
    const double startY = firstTile(layer.tileV, layer.yOffset, area.y, sprite->height);
    SpritePlacement placement;
    placement.colour = colour;
    placement.alpha = alpha;
    for (double y = startY; y < area.y + area.height; y += sprite->height) {
        for (double x = startX; x < area.x + area.width; x += sprite->width) {
            placement.x = x + sprite->originX;
            placement.y = y + sprite->originY;
            Sprite_Draw(layer.spriteIndex, layer.firstFrame, placement);
            if (!layer.tileH)
                break;
        }
        if (!layer.tileV)
            break;
    }
}
} // namespace

WindowRequest Graphics_WindowRequest(const GameData& data) {
    WindowRequest request;
    request.width = data.general.windowWidth;
    request.height = data.general.windowHeight;
    request.borderless = (data.general.infoFlags & InfoFlagBorderless) != 0;
    request.resizable = (data.general.infoFlags & InfoFlagSizeable) != 0;
    request.caption = data.general.displayName;
    return request;
}

bool Graphics_Init(const GameData& data) {
    SDL_Renderer* renderer = CurrentPlatform().Renderer();
    if (renderer == nullptr) {
        Runner_Log("Init Graphics: the window has no renderer\n");
        return false;
    }
    Graphics_SetRenderer(renderer);
    RenderList_Forget();
    CurrentPlatform().SetCallbacks(PlatformCallbacks{RenderList_Repaint, Input_Forget, BusyNote_Repaint});
    if (!Texture_LoadPages(data, (data.options.flags & OptionInterpolatePixels) != 0))
        return false;
    Sprite_Build(data.sprites);
    Font_Build(data.fonts);
    Graphics_SetStartColour(data.options.drawColour);
    Graphics_ResetDrawState();
    Graphics_ResetWindowState();
    Input_Reset();
    surfaceTargetDepth = 0;
    int width = 0, height = 0;
    WindowSize(width, height);
    return Surface_Prepare(ApplicationSurfaceId, width, height);
}

void Graphics_Shutdown() {
    RenderList_Forget();
    Surface_ReleaseAll();
    Texture_ReleaseAll();
    Sprite_ReleaseAll();
    Font_ReleaseAll();
    Graphics_SetRenderer(nullptr);
}

void Graphics_BeginFrame() {
    Graphics_RecordFrameBegun();
    Graphics_StartViewFrame();
    surfaceTargetDepth = 0;
    RenderList_BeginFrame();
    Render_Clear(SDL_Color{0, 0, 0, 255});
    Graphics_SetWholeWindowView();
}

bool Graphics_PrepareApplicationSurface() {
    int width = 0, height = 0;
    WindowSize(width, height);
    return Surface_Prepare(ApplicationSurfaceId, width, height);
}

void Graphics_TargetApplicationSurface() {
    Render_SetTarget(Surface_Texture(ApplicationSurfaceId));
    ++surfaceTargetDepth;
    TargetIdentity();
}

void Graphics_TargetBackBuffer() {
    Render_SetTarget(nullptr);
    if (surfaceTargetDepth > 0)
        --surfaceTargetDepth;
    TargetIdentity();
}

bool Graphics_SurfaceStackBalanced() {
    return surfaceTargetDepth == 0;
}

void Graphics_Clear(uint32_t colour, bool withColour) {
    if (!withColour)
        return; // only depth would be cleared, and 2-D drawing keeps none
    Render_Fill(nullptr, Opaque(colour), SDL_BLENDMODE_NONE);
}

void Graphics_DrawBackground(const LayerData& layer) {
    if (!layer.visible || !layer.backgroundVisible)
        return;
    const VisibleArea& area = Graphics_VisibleArea();
    const uint32_t colour = layer.colour & 0xFFFFFF;
    const uint8_t alpha = uint8_t(layer.colour >> 24);
    if (layer.spriteIndex < 0)
        FillVisibleArea(colour, alpha);
    else if (layer.stretch)
        Sprite_DrawStretched(layer.spriteIndex, layer.firstFrame, area.x, area.y, area.width, area.height,
                             colour, alpha / 255.0);
    else
        DrawTiledBackground(layer, area, colour, alpha / 255.0);
}

void Graphics_DrawInstance(CInstance* instance) {
    if (instance == nullptr || instance->spriteIndex < 0)
        return;
    SpritePlacement placement;
    placement.x = instance->x;
    placement.y = instance->y;
    placement.xscale = instance->imageXScale;
    placement.yscale = instance->imageYScale;
    placement.angle = instance->imageAngle;
    placement.colour = instance->imageBlend;
    placement.alpha = instance->imageAlpha;
    // Which frame a free-running animation shows is news unless the sprite has only one.
    const SpriteData* sprite = Sprite_Find(instance->spriteIndex);
    if (sprite != nullptr && sprite->frames.size() > 1 && Runner_AnimationFreeRunning(instance))
        Runner_MarkFrame("image_index");
    Sprite_Draw(instance->spriteIndex, instance->imageIndex, placement);
}

void Graphics_DrawApplicationSurface() {
    SDL_Texture* surface = Surface_Texture(ApplicationSurfaceId);
    if (surface == nullptr)
        return;
    RenderCopy copy;
    copy.texture = surface;
    // The surface replaces what is under it: its own alpha must not let the back buffer through.
    copy.blend = SDL_BLENDMODE_NONE;
    Render_Copy(copy);
}

bool Graphics_EndFrame(bool present) {
    return RenderList_EndFrame(present);
}

bool Graphics_EndFrameUnshown() {
    return RenderList_EndFrameUnshown();
}
