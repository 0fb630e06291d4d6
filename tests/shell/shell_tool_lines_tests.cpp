// The tool's own command lines, exactly as it builds them, run against a real lib.win in a
// temporary APPDATA and program folder.
#include "Code/Code_Function.h"
#include "Variable/Variable_BuiltIn.h"
#include "app/Tool_Game.h"
#include "app/command_lines.h"
#include "shell_test_support.h"
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

const std::string InLib = R"(cd /d "%APPDATA%\Morvane_Radio_Tuner\lib" & )";

// The lines come from the app itself; they call built-ins, so those are bound first.
std::string Text(const RValue& line) {
    return std::string(line.Text());
}
std::string HcaImportLine(const std::string& file, const std::string& name, int offset) {
    return Text(tool::import_hca_line(file, name, 16, offset));
}

bool IsExecutable(const fs::path& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
}

class ToolLines : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        Function_RegisterAll();
        Variable_BuiltIn_RegisterCore();
        ASSERT_TRUE(Code_BindReferences(Tool_Game(nullptr, 0)));
    }
    void SetUp() override {
        appData_ = root_.path() / "app data";
        program_ = root_.path() / "program folder";
        games_ = root_.path() / "games";
        fs::create_directories(appData_);
        fs::create_directories(program_);
        fs::create_directories(games_);
        fs::copy_file(LIB_WIN, program_ / "lib.win");
        ::setenv("APPDATA", appData_.c_str(), 1);
    }

    fs::path lib() const { return appData_ / "Morvane_Radio_Tuner/lib"; }
    // The runtime's current folder, where lines without "cd /d" start.
    int Run(const std::string& line) { return RunLine(line, root_.path()); }

    // The splash's three lines, then its wait for the marker and the marker's removal.
    void Unpack() {
        Run(Text(tool::make_lib_line()));
        Run(Text(tool::unpack_line(program_.string())));
        Run(Text(tool::remove_preview_line()));
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fs::exists(program_ / "temp.dat") && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_TRUE(fs::exists(program_ / "temp.dat"));
        Run(Text(tool::delete_marker_line(program_.string())));
    }

    // An HCA container as the host game keeps it: tuner.head, then the stream at 576.
    fs::path MakeHcaContainer(const std::string& name) {
        Run(InLib + R"(ffmpeg.exe -f lavfi -i "sine=frequency=440:duration=1" -ac 2 tone.wav)");
        Run(InLib + R"(vgaudiocli.exe -i "tone.wav" "tone.hca" --out-format hca --hcaquality high)");
        fs::path container = games_ / name;
        WriteFile(container, ReadFile(lib() / "tuner.head") + ReadFile(lib() / "tone.hca"));
        fs::remove(lib() / "tone.wav");
        fs::remove(lib() / "tone.hca");
        return container;
    }

    TempFolder root_;
    fs::path appData_;
    fs::path program_;
    fs::path games_;
};

} // namespace

TEST_F(ToolLines, SplashUnpacksTheCabinetAndWritesTheMarkerLast) {
    Unpack();
    EXPECT_EQ(Listing(lib()), "dd.exe ffmpeg.exe tuner.head vgaudiocli.exe xxd.exe");
    for (const char* program : {"dd.exe", "ffmpeg.exe", "vgaudiocli.exe", "xxd.exe"}) {
        EXPECT_TRUE(IsExecutable(lib() / program)) << program;
    }
    EXPECT_EQ(ReadFile(lib() / "xxd.exe"), ReadFile(fs::path(LIBWIN_DIR) / "xxd.exe"));
    EXPECT_EQ(fs::file_size(lib() / "tuner.head"), 576u);
    EXPECT_EQ(Listing(program_), "lib.win");
    // A second start: the folder exists, a preview left over is removed.
    WriteFile(lib() / "stream.ogg", "old");
    EXPECT_EQ(Run(Text(tool::make_lib_line())), 0);
    Run(Text(tool::remove_preview_line()));
    EXPECT_FALSE(fs::exists(lib() / "stream.ogg"));
}

TEST_F(ToolLines, NoMarkerWhenTheCabinetIsBroken) {
    Run(Text(tool::make_lib_line()));
    WriteFile(program_ / "lib.win", "MSCF but not really a cabinet");
    Run(Text(tool::unpack_line(program_.string())));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(fs::exists(program_ / "temp.dat"));
    fs::remove(program_ / "lib.win");
    Run(Text(tool::unpack_line(program_.string())));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(fs::exists(program_ / "temp.dat"));
}

TEST_F(ToolLines, ProbeAndHcaImport) {
    Unpack();
    fs::path container = MakeHcaContainer("bgm_01.sab");
    Run(Text(tool::dump_line(container.string())));
    std::string dump = ReadFile(lib() / "temp.head");
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 128);
    EXPECT_EQ(dump.substr(0, 9), "0000000: ");
    size_t hit = dump.find("4843 4100 0200");
    ASSERT_NE(hit, std::string::npos);
    EXPECT_EQ(dump.substr(dump.rfind('\n', hit) + 1, 7), "0000240");
    EXPECT_EQ(dump.find("4F67 6753 0002 0000 0000"), std::string::npos);

    Run(HcaImportLine(container.string(), "bgm_01.sab", 36));
    EXPECT_EQ(Listing(lib()),
              "dd.exe ffmpeg.exe source.wav stream.ogg temp.head tuner.head vgaudiocli.exe xxd.exe");
    EXPECT_EQ(ReadFile(lib() / "stream.ogg").substr(0, 4), "OggS");
    EXPECT_EQ(ReadFile(lib() / "source.wav").substr(0, 4), "RIFF");

    Run(Text(tool::backup_test_line(container.string())));
    EXPECT_FALSE(fs::exists(lib() / "orig.temp"));
    fs::copy_file(container, container.string() + ".orig");
    Run(Text(tool::backup_test_line(container.string())));
    EXPECT_TRUE(fs::exists(lib() / "orig.temp"));
}
