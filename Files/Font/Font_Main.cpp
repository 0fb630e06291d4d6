#include "Font/Font_Main.h"
#include "IO/IO_Chunks.h"

namespace {

GlyphData ReadGlyph(IO_Reader& reader) {
    GlyphData glyph{};
    glyph.character = reader.U16();
    glyph.x = reader.U16();
    glyph.y = reader.U16();
    glyph.width = reader.U16();
    glyph.height = reader.U16();
    glyph.shift = reader.I16();
    glyph.offset = reader.I16();
    const uint16_t kerningCount = reader.U16();
    if (!reader.Has(uint64_t{kerningCount} * 4) || !reader.Charge(kerningCount)) {
        reader.Fail("glyph kerning runs past the end of the data");
        return glyph;
    }
    for (uint16_t i = 0; i < kerningCount; ++i) {
        const int16_t other = reader.I16();
        glyph.kerning.emplace_back(other, reader.I16());
    }
    return glyph;
}

FontData ReadFont(IO_Reader& reader) {
    FontData font;
    font.name = reader.StringRef();
    font.faceName = reader.StringRef();
    font.size = reader.I32();
    font.bold = reader.Bool();
    font.italic = reader.Bool();
    font.firstCharacter = reader.U16();
    font.characterSet = reader.U8();
    font.antialiasing = reader.U8();
    font.lastCharacter = reader.I32();
    const uint32_t item = reader.U32();
    if (item != 0) {
        font.item = IO_ReadTextureItem(reader, item);
    }
    font.scaleX = reader.F32();
    font.scaleY = reader.F32();
    IO_ForEachRecord(reader, [&] {
        if (reader.Charge(1)) {
            font.glyphs.push_back(ReadGlyph(reader));
        }
    });
    return font;
}

} // namespace

bool Font_ReadChunk(IO_Reader& reader, uint32_t, GameData& out) {
    out.fonts.clear();
    return IO_ForEachRecord(
        reader, [&] { out.fonts.push_back(ReadFont(reader)); }, [&] { out.fonts.emplace_back(); });
}
