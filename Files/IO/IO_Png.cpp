#include "IO/IO_Png.h"
#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <vector>

namespace {

// Pages bigger than this are refused before any pixel memory is taken.
constexpr png_uint_32 MaximumSide = 16384;

struct MemorySource {
    const uint8_t* data = nullptr;
    size_t length = 0;
    size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep target, size_t count) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->length - source->position)
        png_error(png, "the file ends early");
    std::memcpy(target, source->data + source->position, count);
    source->position += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

} // namespace

struct IO_PngReader::State {
    std::string message = "not a PNG file";
    MemorySource source;
    png_structp png = nullptr;
    png_infop info = nullptr;
    int passes = 1;
    std::vector<uint8_t> discarded; // interlaced rows below the ones wanted land here
    State() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, OnError, IgnoreWarning);
        if (png != nullptr)
            info = png_create_info_struct(png);
    }
    ~State() { png_destroy_read_struct(&png, &info, nullptr); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
};

namespace {
// The calls into libpng: its errors jump back to the setjmp, so no object with a destructor may
// live in these frames.
bool ReadHeader(IO_PngReader::State& state, png_uint_32& width, png_uint_32& height) {
    png_structp png = state.png;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &state.source, ReadFromMemory);
    // Every chunk's CRC-32 already covers the compressed bytes; zlib's own sum over the inflated ones
    // cost a tenth of start-up for the texture page.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, state.info);
    width = png_get_image_width(png, state.info);
    height = png_get_image_height(png, state.info);
    if (width == 0 || height == 0 || width > MaximumSide || height > MaximumSide)
        png_error(png, "size out of range");
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    state.passes = png_set_interlace_handling(png);
    png_read_update_info(png, state.info);
    return true;
}

bool ReadImageRows(IO_PngReader::State& state, uint8_t* target, size_t pitch, png_uint_32 rows,
                   png_uint_32 height) {
    png_structp png = state.png;
    if (setjmp(png_jmpbuf(png)))
        return false;
    // An interlaced row is whole only after the last pass, so such a file is read to the bottom.
    const png_uint_32 last = state.passes > 1 ? height : rows;
    for (int pass = 0; pass < state.passes; ++pass)
        for (png_uint_32 y = 0; y < last; ++y)
            png_read_row(png, y < rows ? target + pitch * y : state.discarded.data(), nullptr);
    return true;
}
} // namespace

IO_PngReader::IO_PngReader() : state_(std::make_unique<State>()) {}
IO_PngReader::~IO_PngReader() = default;

bool IO_PngReader::Open(const uint8_t* data, size_t length, std::string& error) {
    State& state = *state_;
    state.source = MemorySource{data, length};
    png_uint_32 width = 0, height = 0;
    if (data == nullptr || state.info == nullptr || png_sig_cmp(data, 0, std::min<size_t>(length, 8)) != 0 ||
        !ReadHeader(state, width, height)) {
        error = "PNG decoding failed: " + state.message;
        return false;
    }
    width_ = int(width);
    height_ = int(height);
    if (state.passes > 1)
        state.discarded.resize(size_t(width) * 4);
    return true;
}

bool IO_PngReader::ReadRows(uint8_t* target, size_t pitch, int rows, std::string& error) {
    const png_uint_32 wanted = png_uint_32(std::clamp(rows, 0, height_));
    if (!ReadImageRows(*state_, target, pitch, wanted, png_uint_32(height_))) {
        error = "PNG decoding failed: " + state_->message;
        return false;
    }
    return true;
}
