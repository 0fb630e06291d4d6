#include "platform/desktop/Desktop_DialogOwner.h"

// Windows finds the owner itself: the visible window of the dialog's thread (Desktop_OwnerWindow).
void Desktop_SetDialogOwner(SDL_Window*) {}
