// libFuzzer harness: the header pass and the full load on arbitrary bytes must fail cleanly or
// succeed, never read outside the input, never hang.
#include "IO/IO_Main.h"
#include "IO/IO_Png.h"
#include "Runner/Runner_Log.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Runner_SetLogToStderr(false), true);
    (void)quiet;
    GeneralInfo general;
    std::string error;
    IO_ReadHeader(data, size, general, error);
    GameData game;
    if (IO_LoadGame(data, size, game, error)) {
        for (const TexturePageData& page : game.texturePages) {
            IO_RgbaImage image;
            IO_DecodePng(page.png.data(), page.png.size(), image, error);
        }
    }
    return 0;
}
