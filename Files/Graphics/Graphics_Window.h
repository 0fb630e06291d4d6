// Where drawing goes: the renderer, how room or GUI units map onto the current target, and the GUI size.
#pragma once

struct SDL_Renderer;

// Target pixel = port + (unit - view) * scale.
struct Projection {
    double portX = 0, portY = 0;
    double viewX = 0, viewY = 0;
    double scaleX = 1, scaleY = 1;
    double X(double x) const { return portX + (x - viewX) * scaleX; }
    double Y(double y) const { return portY + (y - viewY) * scaleY; }
};

// The part of the room (or GUI) the current projection shows.
struct VisibleArea {
    double x = 0, y = 0, width = 0, height = 0;
};

void Graphics_SetRenderer(SDL_Renderer* renderer);
SDL_Renderer* Graphics_Renderer();

const Projection& Graphics_Projection();
const VisibleArea& Graphics_VisibleArea();
// One unit per pixel over the whole current target.
void Graphics_SetIdentityProjection(int targetWidth, int targetHeight);

void Graphics_WindowSize(int& width, int& height);
// The GUI layer's coordinate space; until set it follows the window size.
void Graphics_SetGuiSize(int width, int height);
int Graphics_GuiWidth();
int Graphics_GuiHeight();

// Window pixels → room units, through the application surface and the frame's first view.
void Graphics_WindowToRoom(double windowX, double windowY, double& roomX, double& roomY);
// Called at the start of each frame: the frame's first view becomes the room mapping.
void Graphics_StartViewFrame();
// Forgets the GUI size and the room mapping (a new game).
void Graphics_ResetWindowState();
