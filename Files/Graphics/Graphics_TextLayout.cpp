// A line is ordered by the Unicode bidirectional algorithm (FriBidi) and cut into runs of one
// direction, one script and one font; HarfBuzz shapes each run of a system font (joining, ligatures,
// marks), which the system finds and renders (Graphics_SystemFont). What the data's font has it
// draws, as it always did. The same on every system.
#include "Graphics/Graphics_TextLayout.h"
#include "Graphics/Graphics_SystemFont.h"
#include <algorithm>
#include <cmath>
#include <fribidi.h>
#include <numeric>

namespace {
// Where a cluster's glyphs come from, besides a system font's id.
constexpr int FromNowhere = -1, FromData = -2, Invisible = -3;

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

// A base and the marks Unicode composes with it become one character (as NFC makes them), which the
// data's font or a common one has where a font with the lone mark may be a poor one: "u" + U+0308 is
// drawn as the "ü" of "Müller", whichever way the name was typed.
std::u32string Composed(std::u32string_view line) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::u32string composed;
    for (const char32_t character : line) {
        hb_codepoint_t joined = 0;
        if (!composed.empty() && hb_unicode_compose(unicode, composed.back(), character, &joined))
            composed.back() = joined;
        else
            composed.push_back(character);
    }
    return composed;
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
            source = std::max(SystemFont_For(cluster, pixels), FromNowhere);
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
    HbBuffer buffer(hb_buffer_create());
    // The whole line goes in as context, so that letters join across the run's ends.
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(line.data()), int(line.size()),
                        unsigned(run.start), int(run.end - run.start));
    hb_buffer_set_direction(buffer.get(),
                            FRIBIDI_LEVEL_IS_RTL(run.level) ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer.get(), run.script);
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(SystemFont_Shaper(run.source), buffer.get(), nullptr, 0);
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
                            : Fallback_Glyph({run.source, glyphIndex, pixels, font.lineHeight}, [&] {
                                  return SystemFont_Render(run.source, glyphIndex, font.lineHeight);
                              });
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

LaidOutLine Layout_Line(const TextFont& font, std::u32string_view typed) {
    const std::u32string composed = Composed(typed);
    const std::u32string_view line = composed;
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
