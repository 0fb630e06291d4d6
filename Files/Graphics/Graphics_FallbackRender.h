// One system's way to a glyph the data's font lacks: fontconfig and FreeType on POSIX systems, GDI on
// Windows. Graphics_FallbackFont keeps what this renders.
#pragma once
#include "Graphics/Graphics_FallbackFont.h"
#include <optional>

// `character` from the system font that has it, `pixels` to the em, its descent at the bottom of a
// line `lineHeight` pixels tall; nothing when no font has it.
std::optional<FallbackGlyph> Fallback_Render(char32_t character, int pixels, int lineHeight);
