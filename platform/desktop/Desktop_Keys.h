// SDL's key symbols as the runtime's key codes (vk_*), which follow the system the tool was made for.
#pragma once
#include <SDL2/SDL.h>

// 0 for a key the runtime has no code for.
int Desktop_KeyCode(SDL_Keycode key);
// Keys whose auto-repeat counts as further presses: the arrows step the volume while held.
bool Desktop_KeyRepeats(int keyCode);
