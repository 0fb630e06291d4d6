// Decoding the texture pages: a PNG file in memory to 8-bit RGBA pixels (straight alpha).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Decodes row by row into memory the caller provides, such as a locked texture, so a page is
// never held twice.
class IO_PngReader {
  public:
    IO_PngReader();
    ~IO_PngReader();
    IO_PngReader(const IO_PngReader&) = delete;
    IO_PngReader& operator=(const IO_PngReader&) = delete;

    // Reads the header; false with a message when the bytes are not a PNG file libpng can decode.
    bool Open(const uint8_t* data, size_t length, std::string& error);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Decodes the top `rows` rows (at most Height()) to `target`, each row `pitch` bytes after the last.
    bool ReadRows(uint8_t* target, size_t pitch, int rows, std::string& error);

    struct State; // libpng's, kept out of this header

  private:
    std::unique_ptr<State> state_;
    int width_ = 0, height_ = 0;
};
