#include "Graphics/Graphics_Primitive.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_State.h"
#include "Graphics/Graphics_Texture.h"
#include "Graphics/Graphics_Window.h"
#include <SDL2/SDL.h>
#include <algorithm>
#include <cmath>

namespace {
// The target pixels whose centres lie in [from, to): the rasterisation rule for area fills.
void PixelSpan(double from, double to, int& first, int& count) {
    first = int(std::ceil(from - 0.5));
    count = std::max(0, int(std::ceil(to - 0.5)) - first);
}

// Room cells [x1, x2] x [y1, y2] (whole cells, both ends included) as one target rectangle.
SDL_Rect CellsToTarget(double x1, double y1, double x2, double y2) {
    const Projection& projection = Graphics_Projection();
    SDL_Rect rect{};
    PixelSpan(projection.X(x1), projection.X(x2 + 1), rect.x, rect.w);
    PixelSpan(projection.Y(y1), projection.Y(y2 + 1), rect.y, rect.h);
    return rect;
}

} // namespace

void Primitive_Rectangle(double x1, double y1, double x2, double y2, bool outline) {
    const DrawState& state = Graphics_DrawState();
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    SDL_Rect rects[4];
    int count = 0;
    if (!outline || x2 - x1 < 2 || y2 - y1 < 2) {
        rects[count++] = CellsToTarget(x1, y1, x2, y2);
    } else {
        // Four edges that do not overlap, so a translucent outline has even corners.
        rects[count++] = CellsToTarget(x1, y1, x2, y1);
        rects[count++] = CellsToTarget(x1, y2, x2, y2);
        rects[count++] = CellsToTarget(x1, y1 + 1, x1, y2 - 1);
        rects[count++] = CellsToTarget(x2, y1 + 1, x2, y2 - 1);
    }
    const SDL_Color colour = Texture_Modulation(state.colour, state.alpha);
    for (int i = 0; i < count; ++i)
        Render_Fill(&rects[i], colour, SDL_BLENDMODE_BLEND);
}
