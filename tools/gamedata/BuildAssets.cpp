#include "BuildAssets.h"
#include "Art.h"
#include "Contents.h"
#include "PngWriter.h"
#include "TexturePacker.h"

namespace {

constexpr int FontPoints = 9;

// One bit per pixel of the sprite's bounding frame, rows padded to whole bytes, set where frame 0
// is not fully transparent.
std::vector<uint8_t> CollisionMask(const Frame& frame) {
    const int rowBytes = (frame.boundingWidth + 7) / 8;
    std::vector<uint8_t> mask(static_cast<size_t>(rowBytes) * frame.boundingHeight, 0);
    for (int y = 0; y < frame.source.height; ++y) {
        for (int x = 0; x < frame.source.width; ++x) {
            if (frame.source.Alpha(x, y) != 0) {
                const int mx = x + frame.targetX, my = y + frame.targetY;
                mask[static_cast<size_t>(my) * rowBytes + mx / 8] |= static_cast<uint8_t>(0x80 >> (mx % 8));
            }
        }
    }
    return mask;
}

TextureItem ItemFor(const Frame& frame, Placement at) {
    return {at.x,
            at.y,
            frame.source.width,
            frame.source.height,
            frame.targetX,
            frame.targetY,
            frame.source.width,
            frame.source.height,
            frame.boundingWidth,
            frame.boundingHeight};
}

} // namespace

Assets BuildAssets(const std::string& textFont, const std::string& symbolFont, Image& page) {
    const std::vector<std::vector<Frame>> sprites = SpriteFrames();
    FontBitmap font = RasteriseFont(textFont, symbolFont, FontPoints);

    std::vector<const Image*> pictures;
    for (const auto& frames : sprites) {
        for (const Frame& frame : frames) {
            pictures.push_back(&frame.source);
        }
    }
    pictures.push_back(&font.picture);
    const std::vector<Placement> placements = PackPictures(pictures, PageWidth, PageHeight);
    page = ComposePage(pictures, placements, PageWidth, PageHeight);

    Assets assets;
    size_t next = 0;
    for (const auto& frames : sprites) {
        std::vector<TextureItem> items;
        for (const Frame& frame : frames) {
            items.push_back(ItemFor(frame, placements[next++]));
        }
        assets.spriteFrames.push_back(std::move(items));
        assets.spriteMasks.push_back(CollisionMask(frames.front()));
    }
    const Frame fontFrame{font.picture, 0, 0, FontPictureWidth, FontPictureHeight};
    assets.fontItem = ItemFor(fontFrame, placements[next]);
    assets.glyphs = std::move(font.glyphs);
    assets.pagePng = EncodePng(page);
    return assets;
}
