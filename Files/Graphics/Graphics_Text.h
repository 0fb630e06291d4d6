// Fonts from the game data and text drawn with the current draw state.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

struct FontData;

void Font_Build(const std::vector<FontData>& fonts);
void Font_ReleaseAll();
// -1 is the runtime's default font: the data's first font stands in for it.
// The font's size in points, or -1 when there is no such font.
int Font_Size(int font);

// Measured and drawn in the current font; lines break at '\n'.
double Text_Width(std::string_view text);
double Text_Height(std::string_view text);
void Text_Draw(double x, double y, std::string_view text);
// The most characters (code points), up to `characters`, that begin `text` and end where one of its
// clusters ends, so that a cut there leaves no mark without its letter nor half an emoji.
size_t Text_ClusterCut(std::string_view text, size_t characters);
