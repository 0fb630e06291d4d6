// What the frame loop asks of the graphics layer each frame. Drawing goes to the platform's renderer.
#pragma once
#include <cstdint>

struct GameData;
struct LayerData;
struct CInstance;
struct WindowRequest;

// The window the data asks for: its default size, borderless (info flag 0x4000), sizeable (0x40),
// captioned with the display name.
WindowRequest Graphics_WindowRequest(const GameData& data);

// "Init Graphics": takes the renderer from the platform, decodes texture pages, builds sprites and
// fonts, and resets the draw state with the data's "@@DrawColour". False when it cannot.
bool Graphics_Init(const GameData& data);
void Graphics_Shutdown();
// Draw state back to its game-start values (colour from "@@DrawColour", alpha 1, font -1, align 0).
void Graphics_ResetDrawState();

void Graphics_BeginFrame();
// (Re)creates the application surface at its requested size; false when the surface is disabled.
bool Graphics_PrepareApplicationSurface();
void Graphics_TargetApplicationSurface();
void Graphics_TargetBackBuffer();
// Viewport in target pixels and the room area it shows.
void Graphics_SetView(int portX, int portY, int portWidth, int portHeight, int viewX, int viewY,
                      int viewWidth, int viewHeight);
void Graphics_SetWholeWindowView();
void Graphics_Clear(uint32_t colour, bool withColour);
// A background layer element: its colour (blue-green-red, alpha on top) or sprite.
void Graphics_DrawBackground(const LayerData& layer);
// The default drawing of an instance that has no Draw event.
void Graphics_DrawInstance(CInstance* instance);
// The surface target stack must be empty at the end of drawing.
bool Graphics_SurfaceStackBalanced();
void Graphics_DrawApplicationSurface();
// GUI projection: the display GUI size (defaults to the window size).
void Graphics_SetGuiView();
// True when it presented a new picture.
bool Graphics_EndFrame(bool present);
// Ends a frame that is not to be shown; whether its picture differs from the one shown.
bool Graphics_EndFrameUnshown();

// Input: one snapshot per frame, before the Step events. True when it differs from the last one (or
// edges are still owed to later snapshots).
bool Input_Update();
// Every button up, no edges pending, the pointer at the origin (a new game).
void Input_Reset();
// Every button up and no edge, now and pending; the pointer stays (after a modal wait).
void Input_Forget();
