#include "Graphics/Graphics_Text.h"
#include "Graphics/Graphics_FallbackFont.h"
#include "Graphics/Graphics_Record.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_State.h"
#include "Graphics/Graphics_TextLayout.h"
#include "Graphics/Graphics_Texture.h"
#include "Graphics/Graphics_Window.h"
#include "IO/IO_GameData.h"
#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

namespace {
// A text's lines, so that text drawn again every frame is not laid out again.
using Layout = std::vector<LaidOutLine>;

struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct Font : TextFont {
    std::unordered_map<std::string, Layout, TextHash, std::equal_to<>> layouts;
};
// Texts that change (a volume in per cent, a progress) would otherwise pile up.
constexpr size_t MaxLayouts = 64;

std::vector<Font> fonts;

Font* Resolve(int index) {
    if (index == -1)
        index = 0;
    if (index < 0 || index >= int(fonts.size()))
        return nullptr;
    return &fonts[size_t(index)];
}

// One code point from UTF-8; a malformed byte stands for itself as U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0x80 && lead < 0xC0)
        return 0xFFFD;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return code;
}

std::u32string Decode(std::string_view text) {
    std::u32string decoded;
    for (size_t pos = 0; pos < text.size();)
        decoded.push_back(NextCodePoint(text, pos));
    return decoded;
}

Layout LayOutAnew(const Font& font, std::string_view text) {
    Layout layout;
    const std::u32string decoded = Decode(text);
    for (size_t start = 0;;) {
        const size_t end = std::min(decoded.find(U'\n', start), decoded.size());
        layout.push_back(Layout_Line(font, std::u32string_view(decoded).substr(start, end - start)));
        if (end == decoded.size())
            return layout;
        start = end + 1;
    }
}

const Layout& LayOut(Font& font, std::string_view text) {
    if (auto found = font.layouts.find(text); found != font.layouts.end())
        return found->second;
    if (font.layouts.size() >= MaxLayouts)
        font.layouts.clear();
    return font.layouts.emplace(std::string(text), LayOutAnew(font, text)).first->second;
}

RenderPiece OwnPiece(const Font& font, const GlyphData& glyph, double pen, double top,
                     const Projection& projection) {
    return {SDL_Rect{font.data.item.sourceX + glyph.x, font.data.item.sourceY + glyph.y, glyph.width,
                     glyph.height},
            SDL_FRect{float(projection.X(pen + glyph.offset * font.data.scaleX)), float(projection.Y(top)),
                      float(glyph.width * font.data.scaleX * projection.scaleX),
                      float(glyph.height * font.data.scaleY * projection.scaleY)}};
}

void DrawFallback(const Font& font, const FallbackGlyph& glyph, double pen, double top,
                  const DrawState& state) {
    const Projection& projection = Graphics_Projection();
    RenderCopy copy;
    copy.texture = Fallback_Texture(glyph);
    if (copy.texture == nullptr)
        return;
    const SDL_FRect destination{float(projection.X(pen + glyph.left * font.data.scaleX)),
                                float(projection.Y(top + glyph.top * font.data.scaleY)),
                                float(glyph.width * font.data.scaleX * projection.scaleX),
                                float(glyph.height * font.data.scaleY * projection.scaleY)};
    copy.destination = &destination;
    copy.modulation = Texture_Modulation(glyph.colour ? 0xFFFFFF : state.colour, state.alpha);
    Render_Copy(copy);
}

// The data's own glyphs go in runs of pieces of their page; a system font's glyph, from a texture of
// its own, ends a run, so that the glyphs are still drawn in their order.
void DrawLine(const Font& font, double left, double top, const LaidOutLine& line, const DrawState& state) {
    const Projection& projection = Graphics_Projection();
    RenderPiece run[64];
    size_t runLength = 0;
    const auto drawRun = [&] {
        Texture_DrawPieces(font.data.item.page, run, runLength, state.colour, state.alpha);
        runLength = 0;
    };
    for (const PlacedGlyph& glyph : line.glyphs) {
        if (glyph.own != nullptr) {
            run[runLength++] = OwnPiece(font, *glyph.own, left + glyph.x, top, projection);
            if (runLength == std::size(run))
                drawRun();
        } else {
            drawRun();
            DrawFallback(font, *glyph.fallback, left + glyph.x, top + glyph.y, state);
        }
    }
    drawRun();
}

} // namespace

void Font_Build(const std::vector<FontData>& data) {
    fonts.clear();
    for (const FontData& fontData : data) {
        Font font;
        font.data = fontData;
        for (size_t index = 0; index < fontData.glyphs.size(); ++index) {
            font.glyphByCharacter.emplace(fontData.glyphs[index].character, index);
            font.lineHeight = std::max<int>(font.lineHeight, fontData.glyphs[index].height);
        }
        fonts.push_back(std::move(font));
    }
}

void Font_ReleaseAll() {
    fonts.clear();
    Fallback_ReleaseAll();
}

int Font_Size(int index) {
    const Font* font = Resolve(index);
    return font != nullptr ? font->data.size : -1;
}

double Text_Width(std::string_view text) {
    Font* font = Resolve(Graphics_DrawState().font);
    if (font == nullptr)
        return 0;
    double width = 0;
    for (const LaidOutLine& line : LayOut(*font, text))
        width = std::max(width, line.width);
    return width;
}

double Text_Height(std::string_view text) {
    Font* font = Resolve(Graphics_DrawState().font);
    if (font == nullptr)
        return 0;
    return double(LayOut(*font, text).size()) * font->lineHeight * font->data.scaleY;
}

void Text_Draw(double x, double y, std::string_view text) {
    const DrawState& state = Graphics_DrawState();
    Graphics_RecordText(text);
    Font* font = Resolve(state.font);
    if (font == nullptr)
        return;
    const double lineHeight = font->lineHeight * font->data.scaleY;
    const Layout& lines = LayOut(*font, text);
    // Alignment places whole pixels, so glyphs are never sampled between texels.
    double top = std::floor(y - lines.size() * lineHeight * state.valign / 2);
    for (const LaidOutLine& line : lines) {
        const double left = std::floor(x - line.width * state.halign / 2);
        DrawLine(*font, left, top, line, state);
        top += lineHeight;
    }
}

size_t Text_ClusterCut(std::string_view text, size_t characters) {
    const std::u32string decoded = Decode(text);
    if (characters >= decoded.size())
        return decoded.size();
    size_t cut = 0;
    for (size_t start : Layout_ClusterStarts(decoded))
        if (start <= characters)
            cut = start;
    return cut;
}
