#include "Art.h"
#include "Contents.h"
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int Samples = 8;
// The spinner has 121 frames and is only ever shown small: fewer samples are plenty.
constexpr int SpinnerSamples = 4;
constexpr Rgba Transparent{1, 1, 1, 0};
constexpr Rgba White{1, 1, 1, 1};

Rgba Solid(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, 1};
}

Frame WholeFrame(Image image) {
    const int w = image.width, h = image.height;
    return {std::move(image), 0, 0, w, h};
}

// The close glyph: two diagonal strokes in a 10 x 10 box whose top-left corner is (x, y).
bool InCloseGlyph(float px, float py, float x, float y) {
    constexpr float HalfStroke = 0.75f, Inset = 1.5f, Far = 10 - Inset;
    const float a = DistanceToSegment(px, py, x + Inset, y + Inset, x + Far, y + Far);
    const float b = DistanceToSegment(px, py, x + Far, y + Inset, x + Inset, y + Far);
    return std::min(a, b) <= HalfStroke;
}

Image CloseButtonState(Rgba fill) {
    constexpr float GlyphX = 19, GlyphY = 11;
    return RenderSupersampled(
        48, 32, Samples, [=](float x, float y) { return InCloseGlyph(x, y, GlyphX, GlyphY) ? White : fill; });
}

} // namespace

std::vector<Frame> CloseButtonFrames() {
    // Idle shows only the glyph, as a 10 x 10 picture placed at (19, 11).
    Image glyph = RenderSupersampled(
        10, 10, Samples, [](float x, float y) { return InCloseGlyph(x, y, 0, 0) ? White : Transparent; });
    return {{std::move(glyph), 19, 11, 48, 32},
            WholeFrame(CloseButtonState(Solid(0xD9, 0x2B, 0x3A))),
            WholeFrame(CloseButtonState(Solid(0x9E, 0x1A, 0x27)))};
}

Image LogoImage(int size) {
    // A small radio: antenna, amber body, round speaker and a tuning scale with its needle, drawn on
    // a 16-unit grid and scaled to the size asked for.
    const Rgba body = Solid(0xF2, 0xA9, 0x3B), rim = Solid(0xB0, 0x66, 0x12), dark = Solid(0x3A, 0x2A, 0x1E);
    const Rgba needle = Solid(0xE0, 0x30, 0x30), steel = Solid(0xD8, 0xDE, 0xE8);
    const float unit = 16.0f / static_cast<float>(size);
    return RenderSupersampled(size, size, Samples, [=](float px, float py) {
        const float x = px * unit, y = py * unit;
        const float box = DistanceToRoundedBox(x, y, 0.5f, 6, 15.5f, 15.5f, 2.5f);
        if (box > 0) {
            const bool antenna = DistanceToSegment(x, y, 3.5f, 1.5f, 9, 6.5f) <= 0.6f;
            const bool tip = std::hypot(x - 3.5f, y - 1.5f) <= 1.3f;
            return antenna || tip ? steel : Transparent;
        }
        if (box > -1) {
            return rim;
        }
        const float speaker = std::hypot(x - 5.5f, y - 10.75f);
        if (speaker <= 3) {
            return speaker <= 1 || (speaker > 1.8f && speaker <= 2.3f) ? body : dark;
        }
        if (x >= 9.5f && x <= 13.5f && y >= 8.5f && y <= 13) {
            if (std::abs(x - 11.75f) <= 0.45f) {
                return needle;
            }
            const bool tick = std::fmod(y - 8.5f, 1.5f) < 0.6f;
            return tick ? dark : body;
        }
        return body;
    });
}

std::vector<Frame> LogoFrames() {
    return {WholeFrame(LogoImage(16))};
}

std::vector<Frame> PanelBackgroundFrames() {
    // Light on purpose: the panel multiplies it by a dark navy (#112), which leaves only about 17
    // levels of red, so the texture needs strong contrast to survive. A vertical gradient, a glow in
    // the upper left, diagonal pinstripes and radio-wave rings spreading from the lower right.
    // Mostly transparent: the panel is drawn after the status line and the buttons, over the room's
    // own #112 background, so it may only veil them.
    constexpr int W = 960, H = 540;
    Image image(W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            float v = 0.92f - 0.22f * y / H;
            v += 0.14f * std::exp(-std::hypot(x - 170.0f, y - 40.0f) / 240.0f);
            v -= 0.05f * (((x + y) / 5) % 2 == 0 ? 1.0f : 0.0f);
            const float ring = std::hypot(x - 1000.0f, y - 620.0f);
            v += 0.12f * std::pow(std::max(0.0f, std::cos(ring / 16.0f)), 6.0f) * std::exp(-ring / 600.0f);
            v = std::clamp(v, 0.0f, 1.0f);
            uint8_t* pixel = image.At(x, y);
            pixel[0] = static_cast<uint8_t>(std::lround(v * 244));
            pixel[1] = static_cast<uint8_t>(std::lround(v * 247));
            pixel[2] = static_cast<uint8_t>(std::lround(v * 255));
            pixel[3] = static_cast<uint8_t>(std::lround(v * 72));
        }
    }
    return {WholeFrame(std::move(image))};
}

std::vector<Frame> LoadingSpinnerFrames() {
    // A ring whose bright head sweeps clockwise with a fading tail; frame k is turned by k/121 of a
    // full turn, so the last frame leads smoothly back into the first.
    constexpr float Centre = 64, Outer = 48, Inner = 32, Tail = 1.6f * std::numbers::pi_v<float>;
    std::vector<Image> frames;
    for (int k = 0; k < SpinnerFrameCount; ++k) {
        const float head =
            -std::numbers::pi_v<float> / 2 + 2 * std::numbers::pi_v<float> * k / SpinnerFrameCount;
        frames.push_back(RenderSupersampled(128, 128, SpinnerSamples, [=](float x, float y) {
            const float dx = x - Centre, dy = y - Centre;
            const float radius = std::hypot(dx, dy);
            if (radius > Outer || radius < Inner) {
                return Transparent;
            }
            // How far behind the head this point lies, 0..2 pi.
            float behind = head - std::atan2(dy, dx);
            behind -= 2 * std::numbers::pi_v<float> * std::floor(behind / (2 * std::numbers::pi_v<float>));
            const float fade = std::max(0.0f, 1.0f - behind / Tail);
            return Rgba{1, 1, 1, 0.12f + 0.88f * fade * fade};
        }));
    }
    return CropTogether(frames);
}

std::vector<Frame> OutlineFrames(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
                image.At(x, y)[3] = 255;
            }
        }
    }
    return {WholeFrame(std::move(image))};
}

std::vector<std::vector<Frame>> SpriteFrames() {
    const auto& sprites = contents::Sprites();
    return {CloseButtonFrames(),
            LogoFrames(),
            PanelBackgroundFrames(),
            LoadingSpinnerFrames(),
            OutlineFrames(sprites[4].width, sprites[4].height),
            OutlineFrames(sprites[5].width, sprites[5].height),
            OutlineFrames(sprites[6].width, sprites[6].height)};
}
