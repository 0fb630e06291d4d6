#include "Graphics/Graphics_Sprite.h"
#include "Graphics/Graphics_Texture.h"
#include "Graphics/Graphics_Window.h"
#include "IO/IO_GameData.h"
#include <algorithm>
#include <cmath>

namespace {
std::vector<SpriteData> sprites;

SDL_Rect SourceOf(const TexturePageItem& item) {
    return SDL_Rect{item.sourceX, item.sourceY, item.sourceWidth, item.sourceHeight};
}

// The frame's item, or nullptr when the sprite or its frames are missing.
const TexturePageItem* FrameItem(const SpriteData* sprite, double frame) {
    if (sprite == nullptr || sprite->frames.empty())
        return nullptr;
    return &sprite->frames[size_t(Sprite_WrapFrame(*sprite, frame))];
}

} // namespace

void Sprite_Build(const std::vector<SpriteData>& data) {
    sprites = data;
}
void Sprite_ReleaseAll() {
    sprites.clear();
}

const SpriteData* Sprite_Find(int index) {
    if (index < 0 || index >= int(sprites.size()))
        return nullptr;
    return &sprites[size_t(index)];
}

int Sprite_WrapFrame(const SpriteData& sprite, double frame) {
    const long long count = std::max<long long>(1, (long long)sprite.frames.size());
    if (!std::isfinite(frame))
        return 0;
    const long long whole = (long long)std::floor(std::clamp(frame, -1e15, 1e15));
    return int(((whole % count) + count) % count);
}

void Sprite_Draw(int spriteIndex, double frame, const SpritePlacement& placement) {
    const SpriteData* sprite = Sprite_Find(spriteIndex);
    const TexturePageItem* item = FrameItem(sprite, frame);
    if (item == nullptr)
        return;

    const Projection& projection = Graphics_Projection();
    // The item's picture relative to the origin, scaled; a negative scale mirrors it.
    const double left = (item->targetX - sprite->originX) * placement.xscale;
    const double right = (item->targetX + item->targetWidth - sprite->originX) * placement.xscale;
    const double top = (item->targetY - sprite->originY) * placement.yscale;
    const double bottom = (item->targetY + item->targetHeight - sprite->originY) * placement.yscale;

    TextureBlit blit;
    blit.source = SourceOf(*item);
    blit.destination.x = float(projection.X(placement.x + std::min(left, right)));
    blit.destination.y = float(projection.Y(placement.y + std::min(top, bottom)));
    blit.destination.w = float(std::abs(right - left) * projection.scaleX);
    blit.destination.h = float(std::abs(bottom - top) * projection.scaleY);
    blit.centre.x = float(projection.X(placement.x) - blit.destination.x);
    blit.centre.y = float(projection.Y(placement.y) - blit.destination.y);
    blit.angle = -placement.angle;
    blit.flip = SDL_RendererFlip((placement.xscale < 0 ? SDL_FLIP_HORIZONTAL : 0) |
                                 (placement.yscale < 0 ? SDL_FLIP_VERTICAL : 0));
    blit.colour = placement.colour;
    blit.alpha = placement.alpha;
    Texture_Draw(item->page, blit);
}

void Sprite_DrawStretched(int spriteIndex, double frame, double x, double y, double width, double height,
                          uint32_t colour, double alpha) {
    const SpriteData* sprite = Sprite_Find(spriteIndex);
    const TexturePageItem* item = FrameItem(sprite, frame);
    if (item == nullptr || sprite->width <= 0 || sprite->height <= 0)
        return;
    SpritePlacement tint;
    tint.colour = colour;
    tint.alpha = alpha;

    const Projection& projection = Graphics_Projection();
    const double xscale = width / sprite->width, yscale = height / sprite->height;
    TextureBlit blit;
    blit.source = SourceOf(*item);
    blit.destination.x = float(projection.X(x + item->targetX * xscale));
    blit.destination.y = float(projection.Y(y + item->targetY * yscale));
    blit.destination.w = float(item->targetWidth * xscale * projection.scaleX);
    blit.destination.h = float(item->targetHeight * yscale * projection.scaleY);
    blit.colour = colour;
    blit.alpha = alpha;
    Texture_Draw(item->page, blit);
}
