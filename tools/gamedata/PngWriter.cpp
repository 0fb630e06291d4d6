#include "PngWriter.h"
#include <png.h>
#include <stdexcept>
#include <string>

namespace {
[[noreturn]] void OnError(png_structp, png_const_charp message) {
    throw std::runtime_error(std::string("PNG encoding failed: ") + message);
}

void OnWarning(png_structp, png_const_charp) {}

void Append(png_structp png, png_bytep data, size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

// The libpng writer and its info, destroyed together.
struct PngWrite {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    PngWrite() {
        if (info == nullptr)
            throw std::runtime_error("PNG encoding failed: out of memory");
    }
    ~PngWrite() { png_destroy_write_struct(&png, &info); }
    PngWrite(const PngWrite&) = delete;
    PngWrite& operator=(const PngWrite&) = delete;
};
} // namespace

std::vector<uint8_t> EncodePng(const Image& picture) {
    std::vector<uint8_t> bytes;
    PngWrite write;
    png_set_write_fn(write.png, &bytes, Append, nullptr);
    // Rows without filters: the runtime decodes the page at every start, and undoing the adaptive
    // filters cost it more than inflating the data.
    png_set_filter(write.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(write.png, write.info, png_uint_32(picture.width), png_uint_32(picture.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(write.png, write.info);
    const size_t stride = size_t(picture.width) * 4;
    for (int row = 0; row < picture.height; ++row)
        png_write_row(write.png, picture.pixels.data() + size_t(row) * stride);
    png_write_end(write.png, write.info);
    return bytes;
}
