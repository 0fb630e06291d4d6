// The system's fonts, for what the data's font lacks: each system finds them and renders their glyphs
// its own way (Graphics_SystemFont_Posix: fontconfig and FreeType; Graphics_SystemFont_Windows: GDI);
// Graphics_TextLayout shapes with them through HarfBuzz on both.
#pragma once
#include "Graphics/Graphics_FallbackFont.h"
#include "Platform/MemoryManager.h"
#include <hb.h>
#include <optional>
#include <string_view>

using HbBlob = Owned<hb_blob_t, hb_blob_destroy>;
using HbFace = Owned<hb_face_t, hb_face_destroy>;
using HbFont = Owned<hb_font_t, hb_font_destroy>;
using HbBuffer = Owned<hb_buffer_t, hb_buffer_destroy>;

// The id of a font at `pixels` to the em that has all of the cluster's characters, else one that
// has its first; -1 when none has.
int SystemFont_For(std::u32string_view cluster, int pixels);
// The font HarfBuzz shapes with; its positions are in 64ths of a pixel.
hb_font_t* SystemFont_Shaper(int font);
// The font's glyph, its face's descent at the bottom of a line `lineHeight` pixels tall; nothing when
// the system cannot render it.
std::optional<FallbackGlyph> SystemFont_Render(int font, unsigned glyph, int lineHeight);
