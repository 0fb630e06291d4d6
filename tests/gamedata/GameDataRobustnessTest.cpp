// Malformed data: every failure is a clean false with a message, never a read outside the data.
#include "GameDataTestSupport.h"
#include "IO/IO_Main.h"
#include <gtest/gtest.h>
#include <random>

namespace {

// Cuts the data at `cut` inside a chunk and shortens the container and that chunk to match, so the
// chunk's reader (not the container check) meets the end of the data.
std::vector<uint8_t> CutInsideChunk(const std::vector<uint8_t>& bytes, uint32_t cut) {
    std::vector<uint8_t> shortened(bytes.begin(), bytes.begin() + cut);
    WriteU32(shortened, 4, cut - 8);
    uint32_t position = 8;
    while (position + 8 + ReadU32(bytes, position + 4) < cut) {
        position += 8 + ReadU32(bytes, position + 4);
    }
    if (position + 8 <= cut) {
        WriteU32(shortened, position + 4, cut - position - 8);
    }
    return shortened;
}

TEST(GameDataRobustness, TruncationInsideAnyChunkNeverReadsPastTheEnd) {
    const std::vector<uint8_t> bytes = EmbeddedBytes();
    const uint32_t txtr = ChunkPayload(bytes, "TXTR");
    const QuietLog quiet;
    int failures = 0, cuts = 0;
    // Every byte of the first records, then a stride through the rest of the records and the page.
    for (uint32_t cut = 16; cut < bytes.size(); cut += cut < 4096 ? 1 : (cut < txtr ? 13 : 4099)) {
        // Exactly `cut` bytes on the heap, so the sanitizer sees any read past them.
        const std::vector<uint8_t> shortened = CutInsideChunk(bytes, cut);
        GameData game;
        std::string error;
        ++cuts;
        if (!Load(shortened, game, error)) {
            ++failures;
            ASSERT_FALSE(error.empty()) << cut;
        }
    }
    // Cuts in blocks the runtime does not read (padding, the font's spare block) may still load.
    EXPECT_GT(failures, cuts * 3 / 4);
}

TEST(GameDataRobustness, TruncatedOrForeignContainerNamesTheProblem) {
    std::vector<uint8_t> bytes = EmbeddedBytes();
    bytes.resize(bytes.size() / 2);
    GameData game;
    std::string error;
    EXPECT_FALSE(Load(bytes, game, error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    GeneralInfo general;
    EXPECT_FALSE(IO_ReadHeader(bytes.data(), bytes.size(), general, error));
    bytes[0] = 'X';
    EXPECT_FALSE(Load(bytes, game, error));
    EXPECT_NE(error.find("FORM"), std::string::npos) << error;
    EXPECT_FALSE(IO_LoadGame(nullptr, 0, game, error));
}

TEST(GameDataRobustness, RandomCorruptionNeverReadsOutsideTheData) {
    const std::vector<uint8_t> original = EmbeddedBytes();
    const size_t records = ChunkPayload(original, "TXTR"); // corrupt the records, not the picture
    std::mt19937 random(1234);
    const QuietLog quiet;
    int failures = 0;
    for (int round = 0; round < 1500; ++round) {
        std::vector<uint8_t> bytes = original;
        const int changes = 1 + round % 8;
        for (int c = 0; c < changes; ++c) {
            const size_t at = 8 + random() % (records - 8);
            // Offsets and counts are where it hurts: often write a whole u32.
            if (random() % 2 == 0 && at + 4 <= bytes.size()) {
                const uint32_t values[] = {0, 0xFFFFFFFF, 0x7FFFFFFF,
                                           static_cast<uint32_t>(random() % bytes.size()),
                                           static_cast<uint32_t>(random())};
                WriteU32(bytes, static_cast<uint32_t>(at), values[random() % std::size(values)]);
            } else {
                bytes[at] = static_cast<uint8_t>(random());
            }
        }
        GameData game;
        std::string error;
        if (!Load(bytes, game, error)) {
            ++failures;
            ASSERT_FALSE(error.empty());
        }
    }
    EXPECT_GT(failures, 0);
}

TEST(GameDataRobustness, UnknownChunkIsLoggedAndSkipped) {
    std::vector<uint8_t> bytes = EmbeddedBytes();
    AppendChunk(bytes, "ZZZZ", {1, 2, 3, 4});
    GameData game;
    std::string error;
    const std::string log = CaptureLog([&] { EXPECT_TRUE(Load(bytes, game, error)) << error; });
    const uint32_t value = 'Z' | 'Z' << 8 | 'Z' << 16 | 'Z' << 24;
    EXPECT_NE(log.find("unknown Chunk ZZZZ:" + std::to_string(static_cast<int>(value)) + "\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(game.sprites.size(), 7u);
}

// Holes and missing names are kept as such; an instance of no object is skipped.
TEST(GameDataRobustness, ZeroOffsetsZeroStringsAndNegativeObjectIndices) {
    std::vector<uint8_t> bytes = EmbeddedBytes();
    const uint32_t sprites = ChunkPayload(bytes, "SPRT");
    const uint32_t logo = ReadU32(bytes, sprites + 8);
    WriteU32(bytes, sprites + 4, 0); // sprite 0 becomes a hole
    WriteU32(bytes, logo, 0);        // sprite 1 loses its name
    const uint32_t objects = ChunkPayload(bytes, "OBJT");
    WriteU32(bytes, objects + 4 * 11, 0); // the last object (obj_splash) becomes a hole
    const uint32_t room = ReadU32(bytes, ChunkPayload(bytes, "ROOM") + 4);
    const uint32_t firstInstance = ReadU32(bytes, ReadU32(bytes, room + 4 * 12) + 4);
    WriteU32(bytes, firstInstance + 8, 0xFFFFFFFF);
    GameData game;
    std::string error;
    ASSERT_TRUE(Load(bytes, game, error)) << error;
    ASSERT_EQ(game.sprites.size(), 7u);
    EXPECT_EQ(game.sprites[0].name, "");
    EXPECT_TRUE(game.sprites[0].frames.empty());
    EXPECT_EQ(game.sprites[1].name, "");
    EXPECT_EQ(game.sprites[1].width, 16);
    EXPECT_EQ(game.sprites[2].name, "spr_gui_main_bg");
    ASSERT_EQ(game.objects.size(), 11u);
    EXPECT_EQ(game.objects[10].name, "");
    EXPECT_EQ(game.objects[9].name, "obj_menu_restore");
    ASSERT_EQ(game.rooms.at(0).instances.size(), 10u);
    EXPECT_EQ(game.rooms[0].instances[0].id, 100001);
}

// The first OPTN format: flat u32 fields, each flag its own field, then the constants.
TEST(GameDataRobustness, OptionsInTheFirstFormat) {
    std::vector<uint8_t> bytes = EmbeddedBytes();
    const uint32_t options = ChunkPayload(bytes, "OPTN");
    const uint32_t sleepName = ReadU32(bytes, options + 64), sleepValue = ReadU32(bytes, options + 68);
    std::vector<uint8_t> flat(35 * 4 + 4 + 8, 0);
    WriteU32(flat, 1 * 4, 1);  // interpolate pixels (bit 1)
    WriteU32(flat, 4 * 4, 1);  // show cursor (bit 4)
    WriteU32(flat, 5 * 4, 3);  // scale: not a flag
    WriteU32(flat, 22 * 4, 1); // freeze (bit 15)
    WriteU32(flat, 35 * 4, 1);
    WriteU32(flat, 35 * 4 + 4, sleepName);
    WriteU32(flat, 35 * 4 + 8, sleepValue);
    // Replace the chunk's tag so the original is skipped, and append the first-format one.
    std::copy_n("XPTN", 4, bytes.begin() + options - 8);
    AppendChunk(bytes, "OPTN", flat);
    GameData game;
    std::string error;
    ASSERT_TRUE(Load(bytes, game, error)) << error;
    EXPECT_EQ(game.options.flags, (1u << 1) | (1u << 4) | (1u << 15));
    ASSERT_EQ(game.options.constants.size(), 1u);
    EXPECT_EQ(game.options.constants[0].first, "@@SleepMargin");
    EXPECT_EQ(game.options.sleepMargin, 10);
}

TEST(GameDataRobustness, DrawColourIsReadWithAutomaticBase) {
    // Point the @@DrawColour value at a string we place in an appended chunk.
    std::vector<uint8_t> bytes = EmbeddedBytes();
    const std::string hex = "0xFF00FF00";
    std::vector<uint8_t> text(4, 0);
    WriteU32(text, 0, static_cast<uint32_t>(hex.size()));
    text.insert(text.end(), hex.begin(), hex.end());
    text.push_back(0);
    const uint32_t stringAt = static_cast<uint32_t>(bytes.size()) + 8 + 4;
    AppendChunk(bytes, "ZSTR", text);
    WriteU32(bytes, ChunkPayload(bytes, "OPTN") + 76, stringAt);
    GameData game;
    std::string error;
    ASSERT_TRUE(Load(bytes, game, error)) << error;
    EXPECT_EQ(game.options.drawColour, 0xFF00FF00u);
}

TEST(GameDataRobustness, SharedRecordsCannotMultiplyTheWork) {
    // A second SPRT whose 50,000 entries all point at the spinner (121 frames, a 2 KB mask): small on
    // disk, but gigabytes if every entry were materialised.
    std::vector<uint8_t> bytes = EmbeddedBytes();
    const uint32_t sprites = ChunkPayload(bytes, "SPRT");
    const uint32_t spinner = ReadU32(bytes, sprites + 4 * 4);
    constexpr uint32_t Count = 50000;
    std::vector<uint8_t> list(4 + 4 * Count);
    WriteU32(list, 0, Count);
    for (uint32_t i = 1; i <= Count; ++i) {
        WriteU32(list, 4 * i, spinner);
    }
    AppendChunk(bytes, "SPRT", list);
    GameData game;
    std::string error;
    EXPECT_FALSE(Load(bytes, game, error));
    EXPECT_NE(error.find("more work"), std::string::npos) << error;
}

} // namespace
