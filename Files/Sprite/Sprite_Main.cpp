#include "Sprite/Sprite_Main.h"
#include "IO/IO_Chunks.h"

namespace {

constexpr int32_t ExtendedRecordMarker = -1;
constexpr uint32_t BitmapSprite = 0;

// One bit per pixel, rows padded to whole bytes.
uint64_t MaskSize(uint32_t width, uint32_t height) {
    return (uint64_t{width} + 7) / 8 * height;
}

// Frames: texture-page items behind a list of offsets (a hole makes no frame).
void ReadFrames(IO_Reader& reader, SpriteData& sprite) {
    for (uint32_t offset : reader.List()) {
        if (offset != 0 && reader.Charge(1)) {
            sprite.frames.push_back(IO_ReadTextureItem(reader, offset));
        }
    }
}

void ReadMasks(IO_Reader& reader, uint32_t width, uint32_t height, SpriteData& sprite) {
    const uint32_t count = reader.U32();
    const uint64_t size = MaskSize(width, height);
    if (!reader.Charge(count) || (size != 0 && count > (reader.Length() - reader.Position()) / size)) {
        reader.Fail("sprite " + sprite.name + ": masks run past the end of the data");
        return;
    }
    for (uint32_t i = 0; i < count && reader.Ok(); ++i) {
        sprite.masks.push_back(reader.Bytes(size));
    }
}

SpriteData ReadSprite(IO_Reader& reader) {
    SpriteData sprite;
    sprite.name = reader.StringRef();
    const uint32_t width = reader.U32(), height = reader.U32();
    sprite.width = static_cast<int>(width);
    sprite.height = static_cast<int>(height);
    sprite.bboxLeft = reader.I32();
    sprite.bboxRight = reader.I32();
    sprite.bboxBottom = reader.I32();
    sprite.bboxTop = reader.I32();
    sprite.transparent = reader.Bool();
    sprite.smooth = reader.Bool();
    sprite.preload = reader.Bool();
    sprite.bboxMode = reader.I32();
    sprite.separateMasks = reader.Bool();
    sprite.originX = reader.I32();
    sprite.originY = reader.I32();
    if (reader.I32() == ExtendedRecordMarker) {
        reader.U32(); // record version
        if (reader.U32() != BitmapSprite && reader.Ok()) {
            reader.Fail("sprite " + sprite.name + " is not a bitmap sprite");
            return sprite;
        }
        sprite.playbackSpeed = reader.F32();
        sprite.playbackSpeedType = reader.I32();
    } else {
        reader.Seek(reader.Position() - 4); // the older record goes straight to its frames
    }
    ReadFrames(reader, sprite);
    ReadMasks(reader, width, height, sprite);
    return sprite;
}

} // namespace

bool Sprite_ReadChunk(IO_Reader& reader, uint32_t, GameData& out) {
    out.sprites.clear();
    return IO_ForEachRecord(
        reader, [&] { out.sprites.push_back(ReadSprite(reader)); }, [&] { out.sprites.emplace_back(); });
}
