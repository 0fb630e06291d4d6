// The container: its chunks in order, the embedded copy, the header pass, and the load's log.
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

TEST(GameDataFormat, HeaderPassGivesTheWindowAndTheLoadLogsEveryChunk) {
    const std::vector<uint8_t> bytes = EmbeddedBytes();
    GeneralInfo general;
    std::string error;
    ASSERT_TRUE(IO_ReadHeader(bytes.data(), bytes.size(), general, error)) << error;
    EXPECT_EQ(std::tie(general.windowWidth, general.windowHeight, general.displayName),
              std::make_tuple(384, 192, "Morvane Radio Tuner"));
    GameData game;
    const std::string log = CaptureLog([&] { EXPECT_TRUE(Load(bytes, game, error)) << error; });
    EXPECT_NE(log.find("Process Chunk: GEN8   200\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Process Chunk: AUDO   4\n"), std::string::npos);
    EXPECT_EQ(log.find("unknown Chunk"), std::string::npos);
}

} // namespace
