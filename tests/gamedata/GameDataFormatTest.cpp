// The container: chunk order and payload lengths, the embedded copy, and the header pass.
#include "GameDataTestSupport.h"
#include "IO/IO_Main.h"
#include <gtest/gtest.h>

namespace {

TEST(GameDataFormat, ChunkOrderAndLengths) {
    const std::vector<std::pair<std::string, uint32_t>> expected = {
        {"GEN8", 200},  {"OPTN", 80},    {"LANG", 12},   {"EXTN", 4},    {"SOND", 4},
        {"AGRP", 12},   {"SPRT", 69616}, {"BGND", 4},    {"PATH", 4},    {"SCPT", 88},
        {"GLOB", 12},   {"SHDR", 4},     {"FONT", 2484}, {"TMLN", 4},    {"OBJT", 5388},
        {"ROOM", 1252}, {"DAFL", 0},     {"EMBI", 8},    {"TPAG", 3384}, {"CODE", 0},
        {"VARI", 0},    {"FUNC", 0},     {"STRG", 832},  {"TXTR", 0},    {"AUDO", 4}};
    const auto& chunks = LoadedGame().chunks;
    ASSERT_EQ(chunks.size(), expected.size());
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].tag, expected[i].first);
        if (chunks[i].tag != "TXTR") { // the picture's size is ours
            EXPECT_EQ(chunks[i].length, expected[i].second) << chunks[i].tag;
        }
    }
    const std::vector<uint8_t> bytes = EmbeddedBytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "FORM");
    EXPECT_EQ(ReadU32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(chunks.back().offset + chunks.back().length, bytes.size());
    EXPECT_EQ(ReadU32(bytes, ChunkPayload(bytes, "TPAG")), 130u) << "texture-page items";
}

TEST(GameDataFormat, EmbeddedBytesAreTheWrittenFile) {
    std::vector<uint8_t> file;
    ASSERT_TRUE(IO_ReadFile(MORVANE_GAME_DATA_FILE, file));
    EXPECT_EQ(file, EmbeddedBytes());
}

TEST(GameDataFormat, HeaderPassGivesTheWindowBeforeTheFullLoad) {
    const std::vector<uint8_t> bytes = EmbeddedBytes();
    GeneralInfo general;
    std::string error;
    ASSERT_TRUE(IO_ReadHeader(bytes.data(), bytes.size(), general, error)) << error;
    EXPECT_EQ(general.windowWidth, 384);
    EXPECT_EQ(general.windowHeight, 192);
    EXPECT_EQ(general.displayName, "Morvane Radio Tuner");
    EXPECT_EQ(general.gameSpeed, 60.0f);
}

TEST(GameDataFormat, LoadLogsEveryChunk) {
    const std::vector<uint8_t> bytes = EmbeddedBytes();
    GameData game;
    std::string error;
    const std::string log = CaptureLog([&] { EXPECT_TRUE(Load(bytes, game, error)) << error; });
    EXPECT_NE(log.find("Process Chunk: GEN8   200\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Process Chunk: DAFL   0\n"), std::string::npos);
    EXPECT_NE(log.find("Process Chunk: AUDO   4\n"), std::string::npos);
    EXPECT_EQ(log.find("unknown Chunk"), std::string::npos);
}

} // namespace
