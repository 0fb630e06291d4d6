// Sprites: frames cut from texture-page items, drawn with origin, scale, rotation and blending.
#pragma once
#include <cstdint>
#include <vector>

struct SpriteData;

void Sprite_Build(const std::vector<SpriteData>& sprites);
void Sprite_ReleaseAll();
// nullptr for an index that names no sprite.
const SpriteData* Sprite_Find(int index);
// The frame actually drawn: the whole part of the given frame modulo the frame count.
int Sprite_WrapFrame(const SpriteData& sprite, double frame);

struct SpritePlacement {
    double x = 0, y = 0; // where the origin lands
    double xscale = 1, yscale = 1;
    double angle = 0; // degrees, anticlockwise
    uint32_t colour = 0xFFFFFF;
    double alpha = 1;
};

void Sprite_Draw(int sprite, double frame, const SpritePlacement& placement);
// The whole frame (origin ignored) stretched over x, y, width, height.
void Sprite_DrawStretched(int sprite, double frame, double x, double y, double width, double height,
                          uint32_t colour, double alpha);
