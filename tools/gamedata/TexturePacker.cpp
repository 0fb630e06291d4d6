#include "TexturePacker.h"
#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace {
// Space around each picture, so filtering at its edges never reads a neighbour.
constexpr int Gap = 2;

struct Shelf {
    int y, height, usedWidth;
};
} // namespace

std::vector<Placement> PackPictures(const std::vector<const Image*>& pictures, int pageWidth,
                                    int pageHeight) {
    std::vector<size_t> order(pictures.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return pictures[a]->height > pictures[b]->height; });

    std::vector<Shelf> shelves;
    std::vector<Placement> placements(pictures.size());
    int nextShelfY = 0;
    for (const size_t index : order) {
        const int w = pictures[index]->width + Gap, h = pictures[index]->height + Gap;
        auto shelf = std::find_if(shelves.begin(), shelves.end(), [&](const Shelf& s) {
            return h <= s.height && s.usedWidth + w <= pageWidth;
        });
        if (shelf == shelves.end()) {
            if (nextShelfY + h > pageHeight + Gap || w > pageWidth + Gap) {
                throw std::runtime_error("pictures do not fit on the texture page");
            }
            shelves.push_back({nextShelfY, h, 0});
            nextShelfY += h;
            shelf = shelves.end() - 1;
        }
        placements[index] = {shelf->usedWidth, shelf->y};
        shelf->usedWidth += w;
    }
    return placements;
}

Image ComposePage(const std::vector<const Image*>& pictures, const std::vector<Placement>& placements,
                  int pageWidth, int pageHeight) {
    Image page(pageWidth, pageHeight);
    for (size_t i = 0; i < pictures.size(); ++i) {
        page.Blit(*pictures[i], placements[i].x, placements[i].y);
    }
    return page;
}
