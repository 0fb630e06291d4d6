// GDI finds the font for what the data's font lacks and renders its glyphs; HarfBuzz reads the font's
// tables through GDI (GetFontData) and shapes with them. The installed outline families are asked
// which characters they have (their own character maps, narrowed first by GetFontUnicodeRanges), Open
// Sans and Segoe UI first, then the others by name, so that a character comes from the same font on
// every machine with the same fonts.
#include "Graphics/Graphics_SystemFont.h"
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>
#include <windows.h>

namespace {
using DcHandle = Owned<std::remove_pointer_t<HDC>, DeleteDC>;
using FontHandle = Owned<std::remove_pointer_t<HFONT>, DeleteObject>;
using HbSet = Owned<hb_set_t, hb_set_destroy>;

// A font selected into a device context for as long as this lives.
class Selection {
  public:
    Selection(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

FontHandle CreateFontOf(const std::wstring& family, int pixels) {
    LOGFONTW wanted{};
    wanted.lfHeight = -pixels; // negative: the em, not the cell
    wanted.lfWeight = FW_NORMAL;
    wanted.lfCharSet = DEFAULT_CHARSET;
    wanted.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    wanted.lfQuality = ANTIALIASED_QUALITY;
    family.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    return FontHandle(CreateFontIndirectW(&wanted));
}

// A table of the font selected into the device context `data`, copied out of GDI.
hb_blob_t* Table(hb_face_t*, hb_tag_t tag, void* data) {
    HDC dc = static_cast<HDC>(data);
    // GDI names a table by its tag's bytes in the file's order; 0 is the whole file.
    const DWORD name = __builtin_bswap32(tag);
    const DWORD size = GetFontData(dc, name, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0)
        return nullptr;
    auto bytes = std::make_unique<std::vector<char>>(size);
    if (GetFontData(dc, name, 0, bytes->data(), size) != size)
        return nullptr;
    char* start = bytes->data();
    return hb_blob_create(start, unsigned(size), HB_MEMORY_MODE_WRITABLE, bytes.release(),
                          [](void* owned) { delete static_cast<std::vector<char>*>(owned); });
}

// One family at one size, selected into a device context of its own for as long as it lives: HarfBuzz
// reads its tables while it shapes, and GDI renders its glyphs there.
struct SystemFont {
    FontHandle font;
    DcHandle dc{CreateCompatibleDC(nullptr)};
    std::unique_ptr<Selection> selected;
    HbFont shaper;
    int descent = 0;
};

std::unique_ptr<SystemFont> Open(const std::wstring& family, int pixels) {
    auto font = std::make_unique<SystemFont>();
    font->font = CreateFontOf(family, pixels);
    if (!font->dc || !font->font)
        return nullptr;
    font->selected = std::make_unique<Selection>(font->dc.get(), font->font.get());
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(font->dc.get(), &metrics))
        return nullptr;
    font->descent = metrics.tmDescent;
    HbFace face(hb_face_create_for_tables(Table, font->dc.get(), nullptr));
    font->shaper.reset(hb_font_create(face.get()));
    // Positions in 64ths of a pixel, as FreeType's.
    hb_font_set_scale(font->shaper.get(), pixels * 64, pixels * 64);
    return font;
}

struct Family {
    std::wstring name;
    std::vector<std::pair<char32_t, char32_t>> ranges; // first and last character it has, up to U+FFFF
    HbSet characters;                                  // all it has, read once a character needs it
};

struct Gdi {
    DcHandle dc{CreateCompatibleDC(nullptr)};
    std::vector<Family> families; // in the order they are asked
    bool listed = false;
    std::vector<std::unique_ptr<SystemFont>> loaded;            // by id
    std::map<std::pair<std::wstring, int>, int> byFamily;       // and pixels
    std::map<std::pair<std::u32string, int>, int> byCharacters; // and pixels; -1: no font
};

Gdi& TheGdi() {
    static Gdi gdi;
    return gdi;
}

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM names) {
    // Outline fonts only, TrueType or PostScript (those GDI does not call TrueType: Noto CJK, Loma):
    // GetGlyphOutlineW cannot draw a bitmap font's glyph; '@' names are the vertical forms of others.
    if ((type & RASTER_FONTTYPE) == 0 && font->lfFaceName[0] != L'@')
        reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(font->lfFaceName);
    return 1;
}

// The tool's own font's face first, then the system's user-interface font, then the others by name.
std::vector<std::wstring> FamilyNames(HDC dc) {
    std::vector<std::wstring> names;
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &all, AddFamily, reinterpret_cast<LPARAM>(&names), 0);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const wchar_t* preferred : {L"Segoe UI", L"Open Sans"}) {
        const auto found = std::find(names.begin(), names.end(), preferred);
        if (found != names.end())
            std::rotate(names.begin(), found, found + 1);
    }
    return names;
}

std::vector<std::pair<char32_t, char32_t>> RangesOf(HDC dc, const std::wstring& family) {
    std::vector<std::pair<char32_t, char32_t>> ranges;
    // Any size will do: the characters a font has do not depend on it.
    const FontHandle font = CreateFontOf(family, 16);
    Selection selected(dc, font.get());
    const DWORD size = GetFontUnicodeRanges(dc, nullptr);
    if (size < sizeof(GLYPHSET))
        return ranges;
    std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* set = reinterpret_cast<GLYPHSET*>(storage.data());
    if (GetFontUnicodeRanges(dc, set) == 0)
        return ranges;
    for (DWORD index = 0; index < set->cRanges; ++index) {
        const WCRANGE& range = set->ranges[index];
        ranges.emplace_back(range.wcLow, char32_t(range.wcLow) + range.cGlyphs - 1);
    }
    return ranges;
}

bool InRanges(const Family& family, char32_t character) {
    return std::any_of(family.ranges.begin(), family.ranges.end(), [&](const auto& range) {
        return character >= range.first && character <= range.second;
    });
}

// GDI's ranges rule a family out quickly, but cannot hold characters beyond U+FFFF, and Wine's wrap
// those into the ones below (DejaVu Math's U+1D4xx claimed Hangul): the family's own character map
// decides.
bool Has(Family& family, char32_t character) {
    if (character <= 0xFFFF && !InRanges(family, character))
        return false;
    if (!family.characters) {
        family.characters.reset(hb_set_create());
        const FontHandle font = CreateFontOf(family.name, 16);
        HDC dc = TheGdi().dc.get();
        Selection selected(dc, font.get());
        HbFace face(hb_face_create_for_tables(Table, dc, nullptr));
        hb_face_collect_unicodes(face.get(), family.characters.get());
    }
    return hb_set_has(family.characters.get(), character) != 0;
}

// The first family that has all the characters, else the first that has the first of them.
const std::wstring* FamilyFor(std::u32string_view characters) {
    Gdi& gdi = TheGdi();
    if (!gdi.dc)
        return nullptr;
    if (!gdi.listed) {
        gdi.listed = true;
        for (std::wstring& name : FamilyNames(gdi.dc.get()))
            gdi.families.push_back({name, RangesOf(gdi.dc.get(), name), nullptr});
    }
    for (const bool all : {true, false})
        for (Family& family : gdi.families) {
            const std::u32string_view wanted = all ? characters : characters.substr(0, 1);
            if (std::all_of(wanted.begin(), wanted.end(), [&](char32_t c) { return Has(family, c); }))
                return &family.name;
        }
    return nullptr;
}
} // namespace

int SystemFont_For(std::u32string_view cluster, int pixels) {
    Gdi& gdi = TheGdi();
    auto [entry, added] = gdi.byCharacters.try_emplace({std::u32string(cluster), pixels}, -1);
    if (!added)
        return entry->second;
    const std::wstring* family = FamilyFor(cluster);
    if (family == nullptr)
        return -1;
    auto [opened, isNew] = gdi.byFamily.try_emplace({*family, pixels}, -1);
    if (isNew) {
        if (auto font = Open(*family, std::max(pixels, 1))) {
            opened->second = int(gdi.loaded.size());
            gdi.loaded.push_back(std::move(font));
        }
    }
    return entry->second = opened->second;
}

hb_font_t* SystemFont_Shaper(int font) {
    return TheGdi().loaded[size_t(font)]->shaper.get();
}

// 65 levels of coverage from GetGlyphOutlineW, by glyph index.
std::optional<FallbackGlyph> SystemFont_Render(int id, unsigned glyphIndex, int lineHeight) {
    const SystemFont& font = *TheGdi().loaded[size_t(id)];
    HDC dc = font.dc.get();
    GLYPHMETRICS glyphMetrics{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const UINT format = GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX;
    const DWORD size = GetGlyphOutlineW(dc, glyphIndex, format, &glyphMetrics, 0, nullptr, &identity);
    if (size == GDI_ERROR)
        return std::nullopt;
    std::vector<BYTE> coverage(size);
    if (size > 0 && GetGlyphOutlineW(dc, glyphIndex, format, &glyphMetrics, size, coverage.data(),
                                     &identity) == GDI_ERROR)
        return std::nullopt;
    FallbackGlyph glyph;
    glyph.advance = glyphMetrics.gmCellIncX;
    if (size == 0) // a blank glyph: only its advance
        return glyph;
    const int baseline = lineHeight - font.descent;
    glyph.width = int(glyphMetrics.gmBlackBoxX);
    glyph.height = int(glyphMetrics.gmBlackBoxY);
    glyph.left = glyphMetrics.gmptGlyphOrigin.x;
    glyph.top = baseline - glyphMetrics.gmptGlyphOrigin.y;
    // Rows start on four-byte boundaries; coverage runs from 0 to 64.
    const size_t pitch = (size_t(glyph.width) + 3) & ~size_t(3);
    glyph.pixels.reserve(size_t(glyph.width) * size_t(glyph.height));
    for (int row = 0; row < glyph.height; ++row)
        for (int column = 0; column < glyph.width; ++column) {
            const unsigned level = std::min<unsigned>(coverage[size_t(row) * pitch + size_t(column)], 64);
            glyph.pixels.push_back(0x00FFFFFFu | uint32_t(level * 255 / 64) << 24);
        }
    return glyph;
}
