// The draw state: one set of values for the whole runtime, kept across calls, events and frames.
#pragma once
#include <cstdint>

struct DrawState {
    uint32_t colour = 0xFFFFFF; // red + green * 256 + blue * 65536
    double alpha = 1;
    int font = -1;  // -1: the runtime's default font
    int halign = 0; // 0 left, 1 centre, 2 right
    int valign = 0; // 0 top, 1 middle, 2 bottom
};

DrawState& Graphics_DrawState();
// The colour a new game starts with ("@@DrawColour"; its alpha byte is not part of the colour).
void Graphics_SetStartColour(uint32_t colour);
