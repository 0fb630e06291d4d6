#include "IO/IO_Png.h"
#include <png.h>

namespace {

// Pages bigger than this are refused before any pixel memory is taken.
constexpr png_uint_32 MaximumSide = 16384;

// png_image keeps libpng's state until it is freed.
struct PngReadImage {
    png_image image{};
    PngReadImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngReadImage() { png_image_free(&image); }
    PngReadImage(const PngReadImage&) = delete;
    PngReadImage& operator=(const PngReadImage&) = delete;
};

} // namespace

bool IO_DecodePng(const uint8_t* data, size_t length, IO_RgbaImage& out, std::string& error) {
    PngReadImage png;
    if (data == nullptr || !png_image_begin_read_from_memory(&png.image, data, length)) {
        error = std::string("PNG decoding failed: ") + png.image.message;
        return false;
    }
    if (png.image.width == 0 || png.image.height == 0 || png.image.width > MaximumSide ||
        png.image.height > MaximumSide) {
        error = "PNG size out of range";
        return false;
    }
    png.image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png.image));
    if (!png_image_finish_read(&png.image, nullptr, pixels.data(), 0, nullptr)) {
        error = std::string("PNG decoding failed: ") + png.image.message;
        return false;
    }
    out.width = static_cast<int>(png.image.width);
    out.height = static_cast<int>(png.image.height);
    out.pixels = std::move(pixels);
    return true;
}
