#include "Graphics/Graphics_Window.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_API.h"
#include "platform/Platform.h"
#include <SDL2/SDL.h>
#include <cmath>

namespace {
SDL_Renderer* renderer = nullptr;
Projection projection;
VisibleArea visible;
int guiWidth = 0, guiHeight = 0; // 0: follow the window

// The view that maps the application surface onto the room (the first view set in a frame).
struct RoomMapping {
    bool set = false;
    Projection projection;
};
RoomMapping roomMapping;
bool viewSetThisFrame = false;

void ClipTo(int x, int y, int width, int height) {
    const SDL_Rect clip{x, y, width, height};
    Render_SetClip(&clip);
}
} // namespace

void Graphics_SetRenderer(SDL_Renderer* newRenderer) {
    renderer = newRenderer;
}
SDL_Renderer* Graphics_Renderer() {
    return renderer;
}
const Projection& Graphics_Projection() {
    return projection;
}
const VisibleArea& Graphics_VisibleArea() {
    return visible;
}

void Graphics_SetIdentityProjection(int targetWidth, int targetHeight) {
    projection = Projection{};
    visible = VisibleArea{0, 0, double(targetWidth), double(targetHeight)};
    Render_SetClip(nullptr);
}

void Graphics_WindowSize(int& width, int& height) {
    CurrentPlatform().WindowSize(width, height);
}

void Graphics_SetGuiSize(int width, int height) {
    guiWidth = width;
    guiHeight = height;
}

int Graphics_GuiWidth() {
    int width = 0, height = 0;
    Graphics_WindowSize(width, height);
    return guiWidth > 0 ? guiWidth : width;
}

int Graphics_GuiHeight() {
    int width = 0, height = 0;
    Graphics_WindowSize(width, height);
    return guiHeight > 0 ? guiHeight : height;
}

void Graphics_WindowToRoom(double windowX, double windowY, double& roomX, double& roomY) {
    int windowWidth = 0, windowHeight = 0;
    Graphics_WindowSize(windowWidth, windowHeight);
    double surfaceX = windowX, surfaceY = windowY;
    if (Surface_Exists(ApplicationSurfaceId) && windowWidth > 0 && windowHeight > 0) {
        surfaceX = windowX * Surface_Width(ApplicationSurfaceId) / windowWidth;
        surfaceY = windowY * Surface_Height(ApplicationSurfaceId) / windowHeight;
    }
    const Projection& view = roomMapping.projection;
    roomX = roomMapping.set ? view.viewX + (surfaceX - view.portX) / view.scaleX : surfaceX;
    roomY = roomMapping.set ? view.viewY + (surfaceY - view.portY) / view.scaleY : surfaceY;
}

void Graphics_ResetWindowState() {
    guiWidth = guiHeight = 0;
    roomMapping = RoomMapping{};
    viewSetThisFrame = false;
}

void Graphics_SetView(int portX, int portY, int portWidth, int portHeight, int viewX, int viewY,
                      int viewWidth, int viewHeight) {
    if (portWidth <= 0 || portHeight <= 0 || viewWidth <= 0 || viewHeight <= 0)
        return;
    projection.portX = portX;
    projection.portY = portY;
    projection.viewX = viewX;
    projection.viewY = viewY;
    projection.scaleX = double(portWidth) / viewWidth;
    projection.scaleY = double(portHeight) / viewHeight;
    visible = VisibleArea{double(viewX), double(viewY), double(viewWidth), double(viewHeight)};
    ClipTo(portX, portY, portWidth, portHeight);
    if (!viewSetThisFrame) {
        roomMapping = RoomMapping{true, projection};
        viewSetThisFrame = true;
    }
}

void Graphics_SetWholeWindowView() {
    int width = 0, height = 0;
    Graphics_WindowSize(width, height);
    Graphics_SetIdentityProjection(width, height);
}

void Graphics_SetGuiView() {
    int width = 0, height = 0;
    Graphics_WindowSize(width, height);
    Graphics_SetIdentityProjection(width, height);
    const int guiW = Graphics_GuiWidth(), guiH = Graphics_GuiHeight();
    projection.scaleX = guiW > 0 ? double(width) / guiW : 1;
    projection.scaleY = guiH > 0 ? double(height) / guiH : 1;
    visible = VisibleArea{0, 0, double(guiW), double(guiH)};
}

// A new frame maps the room through the first view it sets.
void Graphics_StartViewFrame() {
    viewSetThisFrame = false;
}
