// Straight-alpha RGBA pictures and the placement of a cropped picture inside a sprite frame.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

struct Rgba {
    float r, g, b, a; // 0..1, straight alpha
};

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels; // RGBA, row-major

    Image() = default;
    // Transparent pixels keep a white colour, so filtered edges do not darken.
    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {
        for (size_t i = 0; i < pixels.size(); i += 4) {
            pixels[i] = pixels[i + 1] = pixels[i + 2] = 255;
        }
    }
    uint8_t* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
    uint8_t Alpha(int x, int y) const { return At(x, y)[3]; }
    // Copies `source` with its top-left corner at (x, y).
    void Blit(const Image& source, int x, int y);
    Image Crop(int x, int y, int w, int h) const;
};

// A sprite frame: `source` is drawn at (targetX, targetY) inside a bounding frame.
struct Frame {
    Image source;
    int targetX = 0, targetY = 0;
    int boundingWidth = 0, boundingHeight = 0;
};

// Renders a picture by averaging `shade` over samples x samples points per pixel (antialiasing).
// Coordinates passed to `shade` are in pixels, (0, 0) the top-left corner of the picture.
Image RenderSupersampled(int width, int height, int samples, const std::function<Rgba(float, float)>& shade);

// Frames cropped to the union of their opaque areas, so every frame keeps the same placement.
std::vector<Frame> CropTogether(const std::vector<Image>& frames);

// Signed-distance helpers for the procedural art.
float DistanceToSegment(float px, float py, float ax, float ay, float bx, float by);
float DistanceToRoundedBox(float px, float py, float left, float top, float right, float bottom,
                           float radius);
// Source-over composition of straight-alpha colours.
Rgba Over(Rgba top, Rgba bottom);
