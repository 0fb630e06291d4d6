// GDI finds the font and renders the glyph: the installed families are asked which characters they
// have (GetFontUnicodeRanges), and the glyph comes from GetGlyphOutlineW as 65 levels of coverage.
// Only characters of the Basic Multilingual Plane: GDI's character calls take one UTF-16 unit.
#include "Graphics/Graphics_FallbackRender.h"
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>
#include <windows.h>

namespace {
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct GdiObjectDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

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

struct Family {
    std::wstring name;
    std::vector<std::pair<char32_t, char32_t>> ranges; // first and last character it has
};

struct Gdi {
    std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc{CreateCompatibleDC(nullptr)};
    std::vector<Family> families; // in the order they are asked
    bool listed = false;
    std::map<std::pair<std::wstring, int>, FontHandle> fonts; // by family and pixels to the em
};

Gdi& TheGdi() {
    static Gdi gdi;
    return gdi;
}

HFONT FontOf(const std::wstring& family, int pixels) {
    FontHandle& font = TheGdi().fonts[{family, pixels}];
    if (!font) {
        LOGFONTW wanted{};
        wanted.lfHeight = -pixels; // negative: the em, not the cell
        wanted.lfWeight = FW_NORMAL;
        wanted.lfCharSet = DEFAULT_CHARSET;
        wanted.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        wanted.lfQuality = ANTIALIASED_QUALITY;
        family.copy(wanted.lfFaceName, LF_FACESIZE - 1);
        font.reset(CreateFontIndirectW(&wanted));
    }
    return font.get();
}

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM names) {
    // Outline fonts only: GetGlyphOutlineW cannot draw a bitmap font's glyph; '@' names are the
    // vertical forms of others.
    if ((type & TRUETYPE_FONTTYPE) != 0 && font->lfFaceName[0] != L'@')
        reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(font->lfFaceName);
    return 1;
}

// The tool's own font's face first, then the system's user-interface font, then the others by name,
// so that the same character comes from the same font on every run.
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
    Selection selected(dc, FontOf(family, 16));
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

const std::wstring* FamilyWith(char32_t character) {
    Gdi& gdi = TheGdi();
    if (!gdi.dc)
        return nullptr;
    if (!gdi.listed) {
        gdi.listed = true;
        for (std::wstring& name : FamilyNames(gdi.dc.get()))
            gdi.families.push_back({name, RangesOf(gdi.dc.get(), name)});
    }
    for (const Family& family : gdi.families)
        for (const auto& [first, last] : family.ranges)
            if (character >= first && character <= last)
                return &family.name;
    return nullptr;
}

std::optional<FallbackGlyph> Render(HDC dc, wchar_t character, int lineHeight) {
    WORD index = 0;
    if (GetGlyphIndicesW(dc, &character, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) != 1 || index == 0xFFFF)
        return std::nullopt;
    TEXTMETRICW metrics{};
    GLYPHMETRICS glyphMetrics{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const UINT format = GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX;
    const DWORD size = GetGlyphOutlineW(dc, index, format, &glyphMetrics, 0, nullptr, &identity);
    if (size == GDI_ERROR || !GetTextMetricsW(dc, &metrics))
        return std::nullopt;
    std::vector<BYTE> coverage(size);
    if (size > 0 &&
        GetGlyphOutlineW(dc, index, format, &glyphMetrics, size, coverage.data(), &identity) == GDI_ERROR)
        return std::nullopt;
    FallbackGlyph glyph;
    glyph.advance = glyphMetrics.gmCellIncX;
    if (size == 0) // a blank glyph: only its advance
        return glyph;
    const int baseline = lineHeight - metrics.tmDescent;
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
} // namespace

std::optional<FallbackGlyph> Fallback_Render(char32_t character, int pixels, int lineHeight) {
    const std::wstring* family = character <= 0xFFFF ? FamilyWith(character) : nullptr;
    if (family == nullptr)
        return std::nullopt;
    HDC dc = TheGdi().dc.get();
    Selection selected(dc, FontOf(*family, std::max(pixels, 1)));
    return Render(dc, wchar_t(character), lineHeight);
}
