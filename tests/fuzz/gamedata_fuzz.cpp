// libFuzzer harness: the header pass and the full load on arbitrary bytes must fail cleanly or
// succeed, never read outside the input, never hang.
#include "IO/IO_Main.h"
#include "IO/IO_Png.h"
#include "Runner/Runner_Log.h"
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Runner_SetLogToStderr(false), true);
    (void)quiet;
    GeneralInfo general;
    std::string error;
    IO_ReadHeader(data, size, general, error);
    GameData game;
    if (IO_LoadGame(data, size, game, error)) {
        for (const TexturePageData& page : game.texturePages) {
            IO_PngReader png;
            if (!png.Open(page.png.data(), page.png.size(), error))
                continue;
            std::vector<uint8_t> pixels(size_t(png.Width()) * 4 * size_t(png.Height()));
            png.ReadRows(pixels.data(), size_t(png.Width()) * 4, png.Height(), error);
        }
    }
    return 0;
}
