// Fontconfig finds the font, FreeType renders the glyph.
#include "Graphics/Graphics_FallbackRender.h"
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {
struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceDeleter>;
struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHandle = std::unique_ptr<FcPattern, PatternDeleter>;
struct CharSetDeleter {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};

struct Cache {
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;
    std::map<std::pair<std::string, int>, FaceHandle> faces; // by file and index
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

// The file and face index of the font fontconfig ranks first for the character: Open Sans (the face of
// the tool's own font) when it has it; nothing when no font has it.
std::optional<std::pair<std::string, int>> FontFor(char32_t character) {
    if (!FcInit())
        return std::nullopt;
    PatternHandle pattern(FcNameParse(reinterpret_cast<const FcChar8*>("Open Sans")));
    std::unique_ptr<FcCharSet, CharSetDeleter> wanted(FcCharSetCreate());
    FcCharSetAddChar(wanted.get(), character);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternHandle match(FcFontMatch(nullptr, pattern.get(), &result));
    FcCharSet* has = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    // The best match need not have it, when no font does.
    if (!match || FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &has) != FcResultMatch ||
        !FcCharSetHasChar(has, character) ||
        FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return std::make_pair(std::string(reinterpret_cast<const char*>(file)), index);
}

FT_Face Face(const std::pair<std::string, int>& font) {
    Cache& cache = TheCache();
    if (!cache.library) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0)
            return nullptr;
        cache.library.reset(library);
    }
    FaceHandle& face = cache.faces[font];
    if (!face) {
        FT_Face opened = nullptr;
        if (FT_New_Face(cache.library.get(), font.first.c_str(), font.second, &opened) == 0)
            face.reset(opened);
    }
    return face.get();
}

// At the data font's size, with the face's descent filling the bottom of the line.
std::optional<FallbackGlyph> Render(FT_Face face, char32_t character, int pixels, int lineHeight) {
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(std::max(pixels, 1))) != 0 ||
        FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
        return std::nullopt;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0)
        return std::nullopt;
    FallbackGlyph glyph;
    const int baseline = lineHeight - int(std::ceil(-double(face->size->metrics.descender) / 64));
    glyph.width = int(bitmap.width);
    glyph.height = int(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = baseline - slot->bitmap_top;
    glyph.advance = int(std::lround(double(slot->advance.x) / 64));
    glyph.pixels.reserve(size_t(bitmap.width) * bitmap.rows);
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned column = 0; column < bitmap.width; ++column)
            glyph.pixels.push_back(0x00FFFFFFu | uint32_t(bitmap.buffer[row * bitmap.pitch + column]) << 24);
    return glyph;
}
} // namespace

std::optional<FallbackGlyph> Fallback_Render(char32_t character, int pixels, int lineHeight) {
    const auto font = FontFor(character);
    FT_Face face = font ? Face(*font) : nullptr;
    return face != nullptr ? Render(face, character, pixels, lineHeight) : std::nullopt;
}
