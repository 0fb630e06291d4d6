// Finding the data: embedded first, else data.win beside the executable, else the named file.
#include "GameDataTestSupport.h"
#include "IO/IO_Main.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class GameLocate : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("gamedata_locate_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        executable = (folder / "morvane-radio-tuner").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void WriteFile(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::filesystem::path folder;
    std::string executable;
};

TEST_F(GameLocate, EmbeddedDataWinsOverDataWin) {
    WriteFile(folder / "data.win", "FORM....");
    const uint8_t embedded[] = {'F', 'O', 'R', 'M', 0, 0, 0, 0};
    GameSource source;
    ASSERT_TRUE(IO_LocateGame(embedded, sizeof embedded, executable, "", source));
    EXPECT_EQ(source.data, embedded);
    EXPECT_EQ(source.path, executable + ".win");
}

TEST_F(GameLocate, DataWinBesideTheExecutable) {
    WriteFile(folder / "data.win", "FORM1234");
    WriteFile(folder / "options.ini", "[Windows]\n");
    GameSource source;
    const std::string log =
        CaptureLog([&] { ASSERT_TRUE(IO_LocateGame(nullptr, 0, executable, "other.win", source)); });
    EXPECT_EQ(std::string(source.data, source.data + source.length), "FORM1234");
    const std::string path = (folder / "data.win").string();
    EXPECT_NE(log.find("Loaded File " + path + "(8)\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Checking if INIFile exists at " + (folder / "options.ini").string()),
              std::string::npos);
    EXPECT_NE(log.find("Exists, loading...."), std::string::npos);
}

TEST_F(GameLocate, CommandLineFileWhenNoDataWinElseNothing) {
    GameSource source;
    const std::string log =
        CaptureLog([&] { EXPECT_FALSE(IO_LocateGame(nullptr, 0, executable, "", source)); });
    EXPECT_NE(log.find("FAILED to load File " + (folder / "data.win").string()), std::string::npos) << log;
    WriteFile(folder / "game.win", "FORMabcd");
    ASSERT_TRUE(IO_LocateGame(nullptr, 0, executable, (folder / "game.win").string(), source));
    EXPECT_EQ(source.length, 8u);
}

} // namespace
