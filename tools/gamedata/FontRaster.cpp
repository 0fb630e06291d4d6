#include "FontRaster.h"
#include "Contents.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include <memory>
#include <stdexcept>

namespace {

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

constexpr int Dpi = 96;
// Rows above the baseline in a 16-pixel cell; the rest is room for descenders.
constexpr int Baseline = 12;
constexpr int Gap = 1; // keeps filtered glyph edges from picking up their neighbours

Face OpenFace(FT_Library library, const std::string& path, int points) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        throw std::runtime_error("cannot open font " + path);
    }
    Face owned(face);
    if (FT_Set_Char_Size(face, 0, points * 64, Dpi, Dpi) != 0) {
        throw std::runtime_error("cannot size font " + path);
    }
    return owned;
}

// Renders one glyph into a cell image of its bitmap width (or its advance when it has no ink).
Image RenderCell(FT_Face face, uint32_t character, GlyphCell& cell) {
    if (FT_Get_Char_Index(face, character) == 0 ||
        FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
        throw std::runtime_error("font has no glyph for character " + std::to_string(character));
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    cell.character = character;
    cell.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const bool blank = bitmap.width == 0 || bitmap.rows == 0;
    cell.bearing = blank ? 0 : slot->bitmap_left;
    cell.width = blank ? cell.advance : static_cast<int>(bitmap.width);
    cell.height = GlyphCellHeight;
    Image image(cell.width, GlyphCellHeight);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = Baseline - slot->bitmap_top + static_cast<int>(row);
        if (y < 0 || y >= GlyphCellHeight) {
            continue; // ink beyond the cell is clipped
        }
        const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            image.At(static_cast<int>(column), y)[3] = source[column];
        }
    }
    return image;
}

} // namespace

FontBitmap RasteriseFont(const std::string& textFont, const std::string& symbolFont, int points) {
    FT_Library raw = nullptr;
    if (FT_Init_FreeType(&raw) != 0) {
        throw std::runtime_error("cannot initialise FreeType");
    }
    Library library(raw);
    const Face text = OpenFace(raw, textFont, points);
    const Face symbol = OpenFace(raw, symbolFont, points);

    FontBitmap font{Image(FontPictureWidth, FontPictureHeight), {}};
    int x = 0, y = 0;
    auto place = [&](FT_Face face, uint32_t character) {
        GlyphCell cell{};
        const Image image = RenderCell(face, character, cell);
        if (x + cell.width > FontPictureWidth) {
            x = 0;
            y += GlyphCellHeight;
        }
        if (y + GlyphCellHeight > FontPictureHeight) {
            throw std::runtime_error("glyphs do not fit the font picture");
        }
        font.picture.Blit(image, x, y);
        cell.x = x;
        cell.y = y;
        font.glyphs.push_back(cell);
        x += cell.width + Gap;
    };
    for (uint32_t c = contents::FirstCharacter; c <= contents::LastAsciiCharacter; ++c) {
        place(text.get(), c);
    }
    place(symbol.get(), contents::PlayTriangle);
    return font;
}
