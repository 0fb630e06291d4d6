// The main window as the owner of the dialogs and boxes, so they stay above it and it waits for them.
#pragma once
#include <SDL2/SDL.h>

// The window dialogs belong to from now on (nullptr: none).
void Desktop_SetDialogOwner(SDL_Window* window);
