// Build-time writer of the desktop icons: the radio logo as PNG files in a hicolor tree.
// Usage: icon_writer <hicolor folder> <icon name> <size>...
#include "Art.h"
#include "PngWriter.h"
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <hicolor folder> <icon name> <size>...\n", argv[0]);
        return 2;
    }
    try {
        for (int i = 3; i < argc; ++i) {
            const int size = std::stoi(argv[i]);
            const std::filesystem::path folder =
                std::filesystem::path(argv[1]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
            std::filesystem::create_directories(folder);
            const std::vector<uint8_t> png = EncodePng(LogoImage(size));
            std::ofstream file(folder / (std::string(argv[2]) + ".png"), std::ios::binary);
            file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
            if (!file) {
                throw std::runtime_error("cannot write the " + std::to_string(size) + " pixel icon");
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "icon_writer: %s\n", error.what());
        return 1;
    }
    return 0;
}
