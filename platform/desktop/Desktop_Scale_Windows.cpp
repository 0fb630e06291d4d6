#include "platform/desktop/Desktop_Scale.h"

namespace {
constexpr float BaseDpi = 96.0f;
} // namespace

// The program is per-monitor DPI aware (its manifest), so the display's DPI is the one set for it.
int Desktop_Scale(SDL_Window* window, int roomWidth, int roomHeight) {
    const int display = SDL_GetWindowDisplayIndex(window);
    float dpi = 0;
    int scale = SDL_GetDisplayDPI(display, &dpi, nullptr, nullptr) == 0 ? int(dpi / BaseDpi) : 1;
    SDL_Rect screen{};
    if (SDL_GetDisplayUsableBounds(display, &screen) == 0)
        while (scale > 1 && (roomWidth * scale > screen.w || roomHeight * scale > screen.h))
            --scale;
    return scale < 1 ? 1 : scale;
}
