#include "platform/desktop/Desktop_Keys.h"

namespace {
constexpr int VkBackspace = 8, VkTab = 9, VkReturn = 13, VkShift = 16, VkControl = 17, VkAlt = 18,
              VkEscape = 27, VkSpace = 32, VkPageUp = 33, VkPageDown = 34, VkEnd = 35, VkHome = 36,
              VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40, VkDelete = 46, VkF1 = 112;
} // namespace

int Desktop_KeyCode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return VkF1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_BACKSPACE:
        return VkBackspace;
    case SDLK_TAB:
        return VkTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VkReturn;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VkShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VkControl;
    case SDLK_LALT:
    case SDLK_RALT:
        return VkAlt;
    case SDLK_ESCAPE:
        return VkEscape;
    case SDLK_SPACE:
        return VkSpace;
    case SDLK_PAGEUP:
        return VkPageUp;
    case SDLK_PAGEDOWN:
        return VkPageDown;
    case SDLK_END:
        return VkEnd;
    case SDLK_HOME:
        return VkHome;
    case SDLK_LEFT:
        return VkLeft;
    case SDLK_UP:
        return VkUp;
    case SDLK_RIGHT:
        return VkRight;
    case SDLK_DOWN:
        return VkDown;
    case SDLK_DELETE:
        return VkDelete;
    default:
        return 0;
    }
}

bool Desktop_KeyRepeats(int keyCode) {
    return keyCode == VkLeft || keyCode == VkRight;
}
