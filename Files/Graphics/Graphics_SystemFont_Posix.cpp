// fontconfig finds the font for what the data's font lacks, FreeType renders its glyphs, and HarfBuzz
// shapes with FreeType's hinted advances.
#include "Graphics/Graphics_SystemFont.h"
#include <algorithm>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace {
using FtLibrary = Owned<FT_LibraryRec_, FT_Done_FreeType>;
using FtFace = Owned<FT_FaceRec_, FT_Done_Face>;
using FcPatternHandle = Owned<FcPattern, FcPatternDestroy>;
using FcCharSetHandle = Owned<FcCharSet, FcCharSetDestroy>;

// A system font at one size: HarfBuzz shapes with it, FreeType renders its glyphs.
struct SystemFont {
    FtFace face;
    HbFont font;
    double bitmapScale = 1; // a font of fixed-size bitmaps (colour emoji) is scaled to the size
};

struct Fonts {
    FtLibrary library;
    std::vector<std::unique_ptr<SystemFont>> loaded;            // by id
    std::map<std::tuple<std::string, int, int>, int> byFile;    // file, index, pixels
    std::map<std::pair<std::u32string, int>, int> byCharacters; // and pixels; -1: no font
};

Fonts& TheFonts() {
    static Fonts fonts;
    return fonts;
}

// The file and face fontconfig ranks first for all the characters: Open Sans (the face of the tool's
// own font) when it has them; nothing when the best match lacks one.
std::optional<std::pair<std::string, int>> FontFileFor(std::u32string_view characters) {
    if (!FcInit())
        return std::nullopt;
    FcPatternHandle pattern(FcNameParse(reinterpret_cast<const FcChar8*>("Open Sans")));
    FcCharSetHandle wanted(FcCharSetCreate());
    for (const char32_t character : characters)
        FcCharSetAddChar(wanted.get(), character);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FcPatternHandle match(FcFontMatch(nullptr, pattern.get(), &result));
    FcCharSet* has = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (!match || FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &has) != FcResultMatch ||
        FcCharSetIsSubset(wanted.get(), has) == FcFalse ||
        FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return std::make_pair(std::string(reinterpret_cast<const char*>(file)), index);
}

std::unique_ptr<SystemFont> Open(const std::string& file, int index, int pixels) {
    Fonts& fonts = TheFonts();
    if (!fonts.library) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0)
            return nullptr;
        fonts.library.reset(library);
    }
    auto font = std::make_unique<SystemFont>();
    FT_Face face = nullptr;
    if (FT_New_Face(fonts.library.get(), file.c_str(), index, &face) != 0)
        return nullptr;
    font->face.reset(face);
    if (FT_IS_SCALABLE(face)) {
        if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels)) != 0)
            return nullptr;
        // FreeType's own advances, hinted as the glyphs are rendered: whole pixels, as before.
        font->font.reset(hb_ft_font_create_referenced(face));
        hb_ft_font_set_load_flags(font->font.get(), FT_LOAD_TARGET_LIGHT);
        return font;
    }
    if (face->num_fixed_sizes == 0)
        return nullptr;
    // Bitmaps only (colour emoji): the smallest size at least as large, else the largest, scaled.
    int best = 0;
    for (int size = 1; size < face->num_fixed_sizes; ++size) {
        const int height = face->available_sizes[size].height,
                  bestHeight = face->available_sizes[best].height;
        if ((bestHeight < pixels && height > bestHeight) || (height >= pixels && height < bestHeight))
            best = size;
    }
    if (FT_Select_Size(face, best) != 0 || face->size->metrics.y_ppem == 0)
        return nullptr;
    font->bitmapScale = double(pixels) / face->size->metrics.y_ppem;
    // Advances from the font's design, brought to the size.
    HbBlob blob(hb_blob_create_from_file_or_fail(file.c_str()));
    if (!blob)
        return nullptr;
    HbFace hbFace(hb_face_create(blob.get(), unsigned(index)));
    font->font.reset(hb_font_create(hbFace.get()));
    // Positions come back in 26.6 fixed point, as FreeType's.
    hb_font_set_scale(font->font.get(), pixels * 64, pixels * 64);
    return font;
}

// FreeType gives colour as premultiplied BGRA; the texture wants straight RGBA.
uint32_t StraightRgba(const uint8_t* bgra) {
    const unsigned alpha = bgra[3];
    if (alpha == 0)
        return 0;
    const auto channel = [&](uint8_t value) { return std::min(255u, (value * 255u + alpha / 2) / alpha); };
    return channel(bgra[2]) | channel(bgra[1]) << 8 | channel(bgra[0]) << 16 | alpha << 24;
}

// A bitmap of fixed size brought to the font's size, each pixel the mean of those it covers.
void ScaleColour(const FT_Bitmap& bitmap, double scale, FallbackGlyph& glyph) {
    glyph.width = std::max(1, int(std::lround(bitmap.width * scale)));
    glyph.height = std::max(1, int(std::lround(bitmap.rows * scale)));
    glyph.pixels.assign(size_t(glyph.width) * glyph.height, 0);
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x) {
            const unsigned x0 = unsigned(x / scale),
                           x1 = std::max(x0 + 1, std::min(bitmap.width, unsigned((x + 1) / scale)));
            const unsigned y0 = unsigned(y / scale),
                           y1 = std::max(y0 + 1, std::min(bitmap.rows, unsigned((y + 1) / scale)));
            unsigned sum[4] = {};
            for (unsigned sy = y0; sy < y1 && sy < bitmap.rows; ++sy)
                for (unsigned sx = x0; sx < x1 && sx < bitmap.width; ++sx)
                    for (int c = 0; c < 4; ++c)
                        sum[c] += bitmap.buffer[sy * unsigned(bitmap.pitch) + sx * 4 + unsigned(c)];
            const unsigned count = std::max(1u, (y1 - y0) * (x1 - x0));
            const uint8_t mean[4] = {uint8_t(sum[0] / count), uint8_t(sum[1] / count),
                                     uint8_t(sum[2] / count), uint8_t(sum[3] / count)};
            glyph.pixels[size_t(y) * glyph.width + x] = StraightRgba(mean);
        }
}

} // namespace

int SystemFont_For(std::u32string_view cluster, int pixels) {
    Fonts& fonts = TheFonts();
    auto [entry, added] = fonts.byCharacters.try_emplace({std::u32string(cluster), pixels}, -1);
    if (!added)
        return entry->second;
    auto file = FontFileFor(cluster);
    if (!file && cluster.size() > 1)
        file = FontFileFor(cluster.substr(0, 1));
    if (!file)
        return -1;
    auto [opened, isNew] = fonts.byFile.try_emplace({file->first, file->second, pixels}, -1);
    if (isNew) {
        if (auto font = Open(file->first, file->second, pixels)) {
            opened->second = int(fonts.loaded.size());
            fonts.loaded.push_back(std::move(font));
        }
    }
    return entry->second = opened->second;
}

hb_font_t* SystemFont_Shaper(int font) {
    return TheFonts().loaded[size_t(font)]->font.get();
}

// With the face's descent filling the bottom of the line, as the data's font sits.
std::optional<FallbackGlyph> SystemFont_Render(int id, unsigned glyphIndex, int lineHeight) {
    const SystemFont& font = *TheFonts().loaded[size_t(id)];
    FT_Face face = font.face.get();
    if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT | FT_LOAD_COLOR) != 0)
        return std::nullopt;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const double scale = font.bitmapScale;
    FallbackGlyph glyph;
    const int baseline = lineHeight - int(std::ceil(-double(face->size->metrics.descender) * scale / 64));
    glyph.left = int(std::lround(slot->bitmap_left * scale));
    glyph.top = baseline - int(std::lround(slot->bitmap_top * scale));
    if (bitmap.rows == 0 || bitmap.width == 0)
        return glyph;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_BGRA) {
        glyph.colour = true;
        ScaleColour(bitmap, scale, glyph);
        return glyph;
    }
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return std::nullopt;
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.pixels.reserve(size_t(bitmap.width) * bitmap.rows);
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned column = 0; column < bitmap.width; ++column)
            glyph.pixels.push_back(0x00FFFFFFu |
                                   uint32_t(bitmap.buffer[row * unsigned(bitmap.pitch) + column]) << 24);
    return glyph;
}
