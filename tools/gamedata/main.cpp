// Build-time writer of the tool's game data file.
// Usage: gamedata_writer <data.win> <page.png> <text font .ttf> <symbol font .ttf>
#include "BuildAssets.h"
#include "PngWriter.h"
#include <cstdio>
#include <exception>
#include <fstream>

namespace {
void WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error(std::string("cannot write ") + path);
    }
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <data.win> <page.png> <text font> <symbol font>\n", argv[0]);
        return 2;
    }
    try {
        Image page;
        const Assets assets = BuildAssets(argv[3], argv[4], page);
        WriteFile(argv[1], WriteDataFile(assets));
        WriteFile(argv[2], assets.pagePng);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gamedata_writer: %s\n", error.what());
        return 1;
    }
    return 0;
}
