#pragma once
#include "DataFile.h"
#include "Image.h"
#include <string>

// Draws the sprites, rasterises the font, packs everything onto the one texture page and encodes it.
// `page` receives the composed page.
Assets BuildAssets(const std::string& textFont, const std::string& symbolFont, Image& page);
