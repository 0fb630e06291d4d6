// Windows' way to a glyph the data's font lacks, by character (GDI); Graphics_FallbackFont keeps
// what this renders. Elsewhere text is shaped and its glyphs rendered in Graphics_TextLayout.
#pragma once
#include "Graphics/Graphics_FallbackFont.h"
#include <optional>

// `character` from the system font that has it, `pixels` to the em, its descent at the bottom of a
// line `lineHeight` pixels tall; nothing when no font has it.
std::optional<FallbackGlyph> Fallback_Render(char32_t character, int pixels, int lineHeight);
