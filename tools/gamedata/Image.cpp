#include "Image.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

void Image::Blit(const Image& source, int x, int y) {
    for (int row = 0; row < source.height; ++row) {
        std::memcpy(At(x, y + row), source.At(0, row), static_cast<size_t>(source.width) * 4);
    }
}

Image Image::Crop(int x, int y, int w, int h) const {
    Image out(w, h);
    for (int row = 0; row < h; ++row) {
        std::memcpy(out.At(0, row), At(x, y + row), static_cast<size_t>(w) * 4);
    }
    return out;
}

namespace {
uint8_t ToByte(float value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}
} // namespace

Image RenderSupersampled(int width, int height, int samples, const std::function<Rgba(float, float)>& shade) {
    Image image(width, height);
    const float step = 1.0f / samples;
    const float weight = 1.0f / (samples * samples);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Average premultiplied colour, then return to straight alpha.
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const Rgba c = shade(x + (sx + 0.5f) * step, y + (sy + 0.5f) * step);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            uint8_t* pixel = image.At(x, y);
            pixel[3] = ToByte(a * weight);
            if (pixel[3] != 0) {
                pixel[0] = ToByte(r / a);
                pixel[1] = ToByte(g / a);
                pixel[2] = ToByte(b / a);
            }
        }
    }
    return image;
}

std::vector<Frame> CropTogether(const std::vector<Image>& frames) {
    const int width = frames.at(0).width, height = frames.at(0).height;
    int left = width, top = height, right = -1, bottom = -1;
    for (const Image& frame : frames) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (frame.Alpha(x, y) != 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
    }
    if (right < 0) {
        throw std::runtime_error("frames without any opaque pixel");
    }
    std::vector<Frame> cropped;
    for (const Image& frame : frames) {
        cropped.push_back(
            {frame.Crop(left, top, right - left + 1, bottom - top + 1), left, top, width, height});
    }
    return cropped;
}

float DistanceToSegment(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

float DistanceToRoundedBox(float px, float py, float left, float top, float right, float bottom,
                           float radius) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float qx = std::abs(px - cx) - ((right - left) / 2 - radius);
    const float qy = std::abs(py - cy) - ((bottom - top) / 2 - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

Rgba Over(Rgba top, Rgba bottom) {
    const float a = top.a + bottom.a * (1 - top.a);
    if (a <= 0) {
        return {1, 1, 1, 0};
    }
    auto mix = [&](float t, float b) { return (t * top.a + b * bottom.a * (1 - top.a)) / a; };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), a};
}
