// Sprites, the font, texture-page items and the texture page.
#include "ChunkWriter.h"
#include "Contents.h"

std::string FrameItemLabel(size_t sprite, size_t frame) {
    return "tpag:" + std::to_string(sprite) + ":" + std::to_string(frame);
}

void WriteSprites(ByteWriter& out, const Assets& assets) {
    const auto& sprites = contents::Sprites();
    WriteChunk(out, "SPRT", [&] {
        WriteList(out, "sprt", sprites.size(), [&](size_t i) {
            const contents::Sprite& sprite = sprites[i];
            WriteStringRef(out, sprite.name);
            out.U32(sprite.width);
            out.U32(sprite.height);
            out.I32(0); // bounding box: the whole picture
            out.I32(sprite.width - 1);
            out.I32(sprite.height - 1);
            out.I32(0);
            out.U32(1); // transparent
            out.U32(0); // not smoothed
            out.U32(1); // preloaded
            out.U32(1); // bounding box mode: full picture
            out.U32(0); // one mask for all frames
            out.I32(sprite.originX);
            out.I32(sprite.originY);
            out.I32(-1); // extended record
            out.U32(1);  // record version
            out.U32(0);  // bitmap
            out.F32(sprite.playbackSpeed);
            out.U32(0); // frames per second
            const auto& frames = assets.spriteFrames.at(i);
            out.U32(static_cast<uint32_t>(frames.size()));
            for (size_t f = 0; f < frames.size(); ++f) {
                out.Ref(FrameItemLabel(i, f));
            }
            const auto& mask = assets.spriteMasks.at(i);
            out.U32(1);
            out.Raw(mask.data(), mask.size());
        });
    });
}

void WriteFonts(ByteWriter& out, const Assets& assets) {
    WriteChunk(out, "FONT", [&] {
        WriteList(out, "font", 1, [&](size_t) {
            WriteStringRef(out, contents::FontName);
            WriteStringRef(out, contents::FontFace);
            out.U32(9); // points
            out.U32(0); // not bold
            out.U32(0); // not italic
            out.U16(contents::FirstCharacter);
            out.U8(0);                       // character set
            out.U8(1);                       // antialiased
            out.U32(contents::PlayTriangle); // the highest character held
            out.Ref(FontItemLabel);
            out.F32(1.0f);
            out.F32(1.0f);
            WriteList(out, "glyph", assets.glyphs.size(), [&](size_t g) {
                const GlyphCell& glyph = assets.glyphs[g];
                out.U16(static_cast<uint16_t>(glyph.character));
                out.U16(static_cast<uint16_t>(glyph.x));
                out.U16(static_cast<uint16_t>(glyph.y));
                out.U16(static_cast<uint16_t>(glyph.width));
                out.U16(static_cast<uint16_t>(glyph.height));
                out.U16(static_cast<uint16_t>(glyph.advance));
                out.U16(static_cast<uint16_t>(glyph.bearing));
                out.U16(0); // no kerning
            });
        });
        out.Zeros(512); // a block the runtime does not read
    });
}

namespace {
void WriteItem(ByteWriter& out, const TextureItem& item) {
    for (int value :
         {item.sourceX, item.sourceY, item.sourceWidth, item.sourceHeight, item.targetX, item.targetY,
          item.targetWidth, item.targetHeight, item.boundingWidth, item.boundingHeight}) {
        out.U16(static_cast<uint16_t>(value));
    }
    out.U16(0); // texture page 0
}
} // namespace

void WriteTexturePageItems(ByteWriter& out, const Assets& assets) {
    std::vector<std::pair<std::string, const TextureItem*>> items;
    for (size_t s = 0; s < assets.spriteFrames.size(); ++s) {
        for (size_t f = 0; f < assets.spriteFrames[s].size(); ++f) {
            items.emplace_back(FrameItemLabel(s, f), &assets.spriteFrames[s][f]);
        }
    }
    items.emplace_back(FontItemLabel, &assets.fontItem);
    WriteChunk(out, "TPAG", [&] {
        out.U32(static_cast<uint32_t>(items.size()));
        for (const auto& item : items) {
            out.Ref(item.first);
        }
        for (const auto& item : items) {
            out.Place(item.first);
            WriteItem(out, *item.second);
        }
    });
}

void WriteTexturePages(ByteWriter& out, const Assets& assets) {
    WriteChunk(out, "TXTR", [&] {
        WriteList(out, "txtr", 1, [&](size_t) {
            out.U32(0); // not scaled
            out.U32(0); // no generated mips
            out.Ref("png:0");
        });
        out.Place("png:0");
        out.Raw(assets.pagePng.data(), assets.pagePng.size());
    });
}
