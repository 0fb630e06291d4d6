// The tool's own command lines, exactly as it builds them, run against a real lib.win in a
// temporary APPDATA and program folder.
#include "Code/Code_Function.h"
#include "Variable/Variable_BuiltIn.h"
#include "app/Tool_Game.h"
#include "app/actions/command_lines.h"
#include "shell_test_support.h"
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace {

// The lines come from the app itself; they call built-ins, so those are bound first.
std::string Text(const RValue& line) {
    return std::string(line.Text());
}

bool IsExecutable(const fs::path& path) {
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
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
        fs::create_directories(appData_);
        fs::create_directories(program_);
        fs::copy_file(FromUtf8(LIB_WIN), program_ / "lib.win");
        ::setenv("APPDATA", Utf8(appData_).c_str(), 1);
    }

    fs::path lib() const { return appData_ / "Morvane_Radio_Tuner/lib"; }
    // The runtime's current folder, where lines without "cd /d" start.
    int Run(const std::string& line) { return RunLine(line, root_.path()); }

    // The splash's three lines, then its wait for the marker and the marker's removal.
    void Unpack() {
        Run(Text(tool::make_lib_line()));
        Run(Text(tool::unpack_line(Utf8(program_))));
        Run(Text(tool::remove_preview_line()));
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!fs::exists(program_ / "temp.dat") && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ASSERT_TRUE(fs::exists(program_ / "temp.dat"));
        Run(Text(tool::delete_marker_line(Utf8(program_))));
    }

    TempFolder root_;
    fs::path appData_;
    fs::path program_;
};

} // namespace

TEST_F(ToolLines, SplashUnpacksTheCabinetAndWritesTheMarkerLast) {
    Unpack();
    EXPECT_EQ(Listing(lib()), "dd.exe ffmpeg.exe tuner.head vgaudiocli.exe xxd.exe");
    for (const char* program : {"dd.exe", "ffmpeg.exe", "vgaudiocli.exe", "xxd.exe"}) {
        EXPECT_TRUE(IsExecutable(lib() / program)) << program;
    }
    EXPECT_EQ(ReadFile(lib() / "xxd.exe"), ReadFile(FromUtf8(LIBWIN_DIR) / "xxd.exe"));
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
    Run(Text(tool::unpack_line(Utf8(program_))));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(fs::exists(program_ / "temp.dat"));
}
