// The container: its chunks in order, and the embedded copy.
#include "GameDataTestSupport.h"
#include "IO/IO_Main.h"
#include <gtest/gtest.h>

namespace {

TEST(GameDataFormat, ChunksInOrderAndTheEmbeddedCopyIsTheWrittenFile) {
    const std::vector<std::string> expected = {"GEN8", "OPTN", "LANG", "EXTN", "SOND", "AGRP", "SPRT",
                                               "BGND", "PATH", "SCPT", "GLOB", "SHDR", "FONT", "TMLN",
                                               "OBJT", "ROOM", "DAFL", "EMBI", "TPAG", "CODE", "VARI",
                                               "FUNC", "STRG", "TXTR", "AUDO"};
    std::vector<std::string> tags;
    for (const auto& chunk : LoadedGame().chunks) {
        tags.push_back(chunk.tag);
    }
    EXPECT_EQ(tags, expected);
    const std::vector<uint8_t> bytes = EmbeddedBytes();
    EXPECT_EQ(ReadU32(bytes, 4), bytes.size() - 8);
    std::vector<uint8_t> file;
    ASSERT_TRUE(IO_ReadFile(MORVANE_GAME_DATA_FILE, file));
    EXPECT_EQ(file, bytes);
}
} // namespace
