// Places pictures on one texture page: shelves filled first-fit, tallest pictures first.
#pragma once
#include "Image.h"
#include <vector>

struct Placement {
    int x, y;
};

constexpr int PageWidth = 1024, PageHeight = 2048;

// Positions of `pictures` (same order). Throws std::runtime_error when they do not fit.
std::vector<Placement> PackPictures(const std::vector<const Image*>& pictures, int pageWidth, int pageHeight);

// The page itself: every picture copied to its placement on a transparent background.
Image ComposePage(const std::vector<const Image*>& pictures, const std::vector<Placement>& placements,
                  int pageWidth, int pageHeight);
