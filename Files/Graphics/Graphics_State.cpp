#include "Graphics/Graphics_State.h"
#include "Graphics_API/Graphics_API.h"

namespace {
DrawState state;
uint32_t startColour = 0xFFFFFF;
} // namespace

DrawState& Graphics_DrawState() {
    return state;
}

void Graphics_SetStartColour(uint32_t colour) {
    startColour = colour & 0xFFFFFF;
}

void Graphics_ResetDrawState() {
    state = DrawState{};
    state.colour = startColour;
}
