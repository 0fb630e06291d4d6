#include "platform/desktop/Desktop_Scale.h"
#include <SDL2/SDL_syswm.h>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {
constexpr int BaseDpi = 96;

int WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : 0;
}

// Xft.dpi from the X server's resource database, as the toolkits read it; 0 when not set.
int XftDpi(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return 0;
    const char* resources = XResourceManagerString(info.info.x11.display);
    if (resources == nullptr)
        return 0;
    constexpr std::string_view Key = "Xft.dpi:";
    std::string_view all(resources);
    for (size_t start = 0; start < all.size();) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = all.substr(start, end - start);
        if (line.starts_with(Key)) {
            line.remove_prefix(Key.size());
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
            return WholeNumber(line);
        }
        start = end + 1;
    }
    return 0;
}

int DesktopScale(SDL_Window* window) {
    const char* gdkScale = std::getenv("GDK_SCALE");
    if (gdkScale != nullptr && WholeNumber(gdkScale) >= 1)
        return WholeNumber(gdkScale);
    return XftDpi(window) / BaseDpi;
}
} // namespace

int Desktop_Scale(SDL_Window* window, int roomWidth, int roomHeight) {
    int scale = DesktopScale(window);
    SDL_Rect screen{};
    if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(window), &screen) == 0)
        while (scale > 1 && (roomWidth * scale > screen.w || roomHeight * scale > screen.h))
            --scale;
    return scale < 1 ? 1 : scale;
}
