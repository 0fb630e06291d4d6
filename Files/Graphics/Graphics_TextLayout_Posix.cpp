// A line is ordered by the Unicode bidirectional algorithm (FriBidi) and cut into runs of one
// direction, one script and one font; HarfBuzz shapes each run of a system font (joining, ligatures,
// marks), fontconfig finds that font, FreeType renders its glyphs. What the data's font has it draws,
// as it always did.
#include "Graphics/Graphics_FallbackFont.h"
#include "Graphics/Graphics_TextLayout.h"
#include <algorithm>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <fribidi.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <tuple>

namespace {
template <auto Destroy> struct Deleter {
    template <typename T> void operator()(T* pointer) const { Destroy(pointer); }
};
using FtLibrary = std::unique_ptr<FT_LibraryRec_, Deleter<FT_Done_FreeType>>;
using FtFace = std::unique_ptr<FT_FaceRec_, Deleter<FT_Done_Face>>;
using HbBlob = std::unique_ptr<hb_blob_t, Deleter<hb_blob_destroy>>;
using HbFace = std::unique_ptr<hb_face_t, Deleter<hb_face_destroy>>;
using HbFont = std::unique_ptr<hb_font_t, Deleter<hb_font_destroy>>;
using HbBuffer = std::unique_ptr<hb_buffer_t, Deleter<hb_buffer_destroy>>;
using FcPatternHandle = std::unique_ptr<FcPattern, Deleter<FcPatternDestroy>>;
using FcCharSetHandle = std::unique_ptr<FcCharSet, Deleter<FcCharSetDestroy>>;

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

// Where a cluster's glyphs come from, besides a system font's id.
constexpr int FromNowhere = -1, FromData = -2, Invisible = -3;

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

// The system font for a cluster: one that has all its characters, else one that has its first.
int FontFor(std::u32string_view cluster, int pixels) {
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

// With the face's descent filling the bottom of the line, as the data's font sits.
std::optional<FallbackGlyph> Render(const SystemFont& font, unsigned glyphIndex, int lineHeight) {
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

struct Run {
    size_t start = 0, end = 0; // characters of the line
    FriBidiLevel level = 0;
    int source = FromData;
    hb_script_t script = HB_SCRIPT_COMMON;
    FriBidiStrIndex visual = 0; // where its first character went
};

bool Undetermined(hb_script_t script) {
    return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}

hb_script_t ScriptOf(char32_t character) {
    return hb_unicode_script(hb_unicode_funcs_get_default(), character);
}

// The line's embedding levels (rules up to L1) and, for each character, where it goes on the line.
std::pair<std::vector<FriBidiLevel>, std::vector<FriBidiStrIndex>> Order(std::u32string_view line) {
    const auto length = FriBidiStrIndex(line.size());
    const auto* characters = reinterpret_cast<const FriBidiChar*>(line.data());
    std::vector<FriBidiCharType> types(line.size());
    std::vector<FriBidiBracketType> brackets(line.size());
    std::vector<FriBidiLevel> levels(line.size(), 0);
    std::vector<FriBidiStrIndex> map(line.size());
    std::iota(map.begin(), map.end(), 0);
    fribidi_get_bidi_types(characters, length, types.data());
    fribidi_get_bracket_types(characters, length, types.data(), brackets.data());
    // The first strong character sets the direction, as in a file manager.
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction,
                                            levels.data()) == 0 ||
        fribidi_reorder_line(0, types.data(), length, 0, direction, levels.data(), nullptr, map.data()) ==
            0) {
        std::fill(levels.begin(), levels.end(), 0);
        std::iota(map.begin(), map.end(), 0);
    }
    std::vector<FriBidiStrIndex> visual(line.size());
    for (size_t place = 0; place < map.size(); ++place)
        visual[size_t(map[place])] = FriBidiStrIndex(place);
    return {levels, visual};
}

// Runs of one level, one source and one script, in the order they are drawn.
std::vector<Run> Runs(const TextFont& font, std::u32string_view line, int pixels) {
    const auto [levels, visual] = Order(line);
    std::vector<size_t> starts = Layout_ClusterStarts(line);
    starts.push_back(line.size());
    std::vector<Run> runs;
    for (size_t index = 0; index + 1 < starts.size(); ++index) {
        const std::u32string_view cluster = line.substr(starts[index], starts[index + 1] - starts[index]);
        int source = FromData;
        if (std::all_of(cluster.begin(), cluster.end(), [](char32_t c) { return c < U' '; }))
            source = Invisible;
        else if (!std::all_of(cluster.begin(), cluster.end(),
                              [&](char32_t c) { return font.Glyph(c) != nullptr; }))
            source = std::max(FontFor(cluster, pixels), FromNowhere);
        hb_script_t script = ScriptOf(cluster.front());
        const FriBidiLevel level = levels[starts[index]];
        const FriBidiStrIndex place = visual[starts[index]];
        Run* last = runs.empty() ? nullptr : &runs.back();
        if (last != nullptr && Undetermined(script))
            script = last->script;
        if (last != nullptr && last->level == level && last->source == source &&
            (last->script == script || Undetermined(last->script))) {
            last->end = starts[index + 1];
            last->script = script;
            last->visual = std::min(last->visual, place);
        } else {
            runs.push_back({starts[index], starts[index + 1], level, source, script, place});
        }
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Run& a, const Run& b) { return a.visual < b.visual; });
    return runs;
}

void PlaceShaped(const TextFont& font, std::u32string_view line, const Run& run, int pixels,
                 LaidOutLine& out) {
    const SystemFont& system = *TheFonts().loaded[size_t(run.source)];
    HbBuffer buffer(hb_buffer_create());
    // The whole line goes in as context, so that letters join across the run's ends.
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(line.data()), int(line.size()),
                        unsigned(run.start), int(run.end - run.start));
    hb_buffer_set_direction(buffer.get(),
                            FRIBIDI_LEVEL_IS_RTL(run.level) ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer.get(), run.script);
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(system.font.get(), buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);
    // Glyphs on whole pixels, as FreeType's hinted advances and the data's glyphs are; the pen keeps
    // its fractions, so that a long run does not drift.
    const double scaleX = font.data.scaleX, scaleY = font.data.scaleY, start = out.width;
    double pen = 0;
    for (unsigned index = 0; index < count; ++index) {
        const unsigned glyphIndex = infos[index].codepoint;
        // The font's own "missing" glyph may well be blank; ours never is.
        const FallbackGlyph* glyph =
            glyphIndex == 0 ? Fallback_Box(pixels, font.lineHeight)
                            : Fallback_Glyph({run.source, glyphIndex, pixels, font.lineHeight},
                                             [&] { return Render(system, glyphIndex, font.lineHeight); });
        const double x = start + std::round(pen + positions[index].x_offset / 64.0) * scaleX;
        if (glyph != nullptr && !glyph->pixels.empty())
            out.glyphs.push_back({nullptr, glyph, x, -std::round(positions[index].y_offset / 64.0) * scaleY});
        pen += glyphIndex == 0 && glyph != nullptr ? glyph->advance : positions[index].x_advance / 64.0;
    }
    out.width = start + std::round(pen) * scaleX;
}

// The data's glyphs, one a character; right to left, mirrored where the font has the mirror image.
void PlaceOwn(const TextFont& font, std::u32string_view line, const Run& run, LaidOutLine& out) {
    const bool rtl = FRIBIDI_LEVEL_IS_RTL(run.level);
    for (size_t step = run.start; step < run.end; ++step) {
        char32_t character = line[rtl ? run.end - 1 - (step - run.start) : step];
        FriBidiChar mirrored = 0;
        if (rtl && fribidi_get_mirror_char(character, &mirrored) && font.Glyph(mirrored) != nullptr)
            character = mirrored;
        const GlyphData* glyph = font.Glyph(character);
        out.glyphs.push_back({glyph, nullptr, out.width, 0});
        out.width += glyph->shift * font.data.scaleX;
    }
}

void PlaceBoxes(const TextFont& font, std::u32string_view line, const Run& run, int pixels,
                LaidOutLine& out) {
    const FallbackGlyph* box = Fallback_Box(pixels, font.lineHeight);
    const std::vector<size_t> clusters = Layout_ClusterStarts(line.substr(run.start, run.end - run.start));
    for (size_t count = 0; count < clusters.size(); ++count) {
        out.glyphs.push_back({nullptr, box, out.width, 0});
        out.width += box->advance * font.data.scaleX;
    }
}
} // namespace

LaidOutLine Layout_Line(const TextFont& font, std::u32string_view line) {
    LaidOutLine out;
    // What the data's font has of ASCII is drawn as ever, without asking the libraries.
    if (std::all_of(line.begin(), line.end(),
                    [&](char32_t c) { return c < 0x80 && font.Glyph(c) != nullptr; })) {
        PlaceOwn(font, line, {0, line.size()}, out);
        return out;
    }
    // Points at 96 dots an inch, as the data's fonts were drawn.
    const int pixels = std::max(1, int(std::lround(font.data.size * 96.0 / 72)));
    for (const Run& run : Runs(font, line, pixels)) {
        if (run.source == FromData)
            PlaceOwn(font, line, run, out);
        else if (run.source == FromNowhere)
            PlaceBoxes(font, line, run, pixels, out);
        else if (run.source >= 0)
            PlaceShaped(font, line, run, pixels, out);
    }
    return out;
}

std::vector<size_t> Layout_ClusterStarts(std::u32string_view text) {
    // HarfBuzz forms its clusters from the characters alone (marks, emoji sequences, and per script
    // what its shaper keeps together), so shaping with a font of no glyphs finds them. (The empty
    // font itself is not shaped at all.)
    static const HbFont noGlyphs = [] {
        HbFace face(hb_face_builder_create());
        return HbFont(hb_font_create(face.get()));
    }();
    std::vector<size_t> starts;
    for (size_t start = 0; start < text.size();) {
        hb_script_t script = HB_SCRIPT_COMMON;
        size_t end = start;
        for (; end < text.size(); ++end) {
            const hb_script_t next = ScriptOf(text[end]);
            if (Undetermined(next))
                continue;
            if (!Undetermined(script) && next != script)
                break;
            script = next;
        }
        HbBuffer buffer(hb_buffer_create());
        hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(text.data()), int(text.size()),
                            unsigned(start), int(end - start));
        hb_buffer_set_direction(buffer.get(), HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer.get(), script);
        hb_buffer_guess_segment_properties(buffer.get());
        hb_shape(noGlyphs.get(), buffer.get(), nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
        for (unsigned index = 0; index < count; ++index)
            if (starts.empty() || starts.back() < infos[index].cluster)
                starts.push_back(infos[index].cluster);
        if (starts.empty() || starts.back() < start)
            starts.insert(std::upper_bound(starts.begin(), starts.end(), start), start);
        start = end;
    }
    return starts;
}
