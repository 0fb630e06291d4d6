// How many window pixels a room unit takes on this desktop: on X, GDK_SCALE when set, else Xft.dpi / 96
// (a desktop at 200% says 192); on Windows the display's DPI / 96. At least 1 and never more than the
// screen can hold.
#pragma once
#include <SDL2/SDL.h>

int Desktop_Scale(SDL_Window* window, int roomWidth, int roomHeight);
