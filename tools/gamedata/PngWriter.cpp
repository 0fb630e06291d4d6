#include "PngWriter.h"
#include <png.h>
#include <stdexcept>
#include <string>

namespace {
// png_image owns libpng state until it is freed.
struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};
} // namespace

std::vector<uint8_t> EncodePng(const Image& picture) {
    PngImage png;
    png.image.width = static_cast<png_uint_32>(picture.width);
    png.image.height = static_cast<png_uint_32>(picture.height);
    png.image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(png.image, size, 0, picture.pixels.data(), 0, nullptr)) {
        throw std::runtime_error(std::string("PNG encoding failed: ") + png.image.message);
    }
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png.image, bytes.data(), &size, 0, picture.pixels.data(), 0, nullptr)) {
        throw std::runtime_error(std::string("PNG encoding failed: ") + png.image.message);
    }
    bytes.resize(size);
    return bytes;
}
