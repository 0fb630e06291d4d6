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
std::string LogLine(const std::string& when, const std::string& container, const std::string& chosen) {
    return Text(tool::log_line(when, container, chosen));
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

TEST_F(ToolLines, OggImport) {
    Unpack();
    Run(InLib + R"(ffmpeg.exe -f lavfi -i "sine=duration=1" -c:a libvorbis tone.ogg)");
    fs::path container = games_ / "bgm_02.sab";
    WriteFile(container, std::string(64, '\0') + ReadFile(lib() / "tone.ogg"));
    Run(Text(tool::import_ogg_line(container.string(), "bgm_02.sab", 16, 4)));
    EXPECT_EQ(ReadFile(lib() / "stream.ogg").substr(0, 4), "OggS");
    EXPECT_FALSE(fs::exists(lib() / "bgm_02.sab.ogg"));
}

TEST_F(ToolLines, ReplaceExportAndRestore) {
    Unpack();
    fs::path container = MakeHcaContainer("bgm_01.sab");
    std::string original = ReadFile(container);
    std::string file = container.string();
    Run(HcaImportLine(file, "bgm_01.sab", 36));

    Run(Text(tool::export_line(".mp3")));
    EXPECT_GT(fs::file_size(lib() / "export.mp3"), 1000u);

    Run(InLib + R"(ffmpeg.exe -f lavfi -i "sine=frequency=220:duration=1" song.mp3)");
    fs::rename(lib() / "song.mp3", lib() / "replace.mp3");
    Run(Text(tool::backup_line(file)));
    Run(Text(tool::rebuild_line("replace.mp3", file)));
    Run(LogLine("05/12/2026 14:20:00", file, (lib() / "song.mp3").string()));
    std::string head = ReadFile(lib() / "tuner.head");
    std::string rebuilt = ReadFile(container);
    EXPECT_EQ(rebuilt.substr(0, head.size()), head);
    EXPECT_EQ(rebuilt.substr(head.size(), 4), std::string("HCA\0", 4));
    EXPECT_NE(rebuilt, original);
    EXPECT_EQ(ReadFile(file + ".orig"), original);
    EXPECT_EQ(Listing(lib()), "dd.exe export.mp3 ffmpeg.exe stream.ogg tuner.head vgaudiocli.exe xxd.exe");
    EXPECT_EQ(ReadFile(games_ / "tuner.log"), "05/12/2026 14:20:00: \"bgm_01.sab\" > \"song.mp3\" \n");

    // A second replacement keeps the first backup.
    WriteFile(lib() / "replace.mp3", ReadFile(lib() / "export.mp3"));
    Run(Text(tool::backup_line(file)));
    Run(Text(tool::rebuild_line("replace.mp3", file)));
    EXPECT_EQ(ReadFile(file + ".orig"), original);

    Run(Text(tool::restore_line(file)));
    EXPECT_EQ(ReadFile(container), original);
    EXPECT_FALSE(fs::exists(file + ".orig"));

    Run(Text(tool::cleanup_line()));
    EXPECT_FALSE(fs::exists(lib()));
    EXPECT_TRUE(fs::exists(appData_ / "Morvane_Radio_Tuner"));
}

TEST_F(ToolLines, HostileNamesAreCopiedAndRunNothing) {
    Unpack();
    const std::string hostile = "a b&c;d^e%f'g$h`i ü (1) $(touch pwned) ;touch pwned";
    fs::path folder = games_ / hostile;
    fs::create_directories(folder);
    fs::path container = folder / (hostile + ".sab");
    std::string file = container.string();
    std::string original = std::string(1000, 'c') + hostile;
    WriteFile(container, original);

    Run(Text(tool::dump_line(file)));
    EXPECT_EQ(ReadFile(lib() / "temp.head").substr(0, 9), "0000000: ");
    Run(Text(tool::backup_line(file)));
    EXPECT_EQ(ReadFile(file + ".orig"), original);
    Run(Text(tool::backup_test_line(file)));
    EXPECT_TRUE(fs::exists(lib() / "orig.temp"));

    WriteFile(lib() / "new.hca", "HCA-new");
    Run(InLib + R"(copy /b "tuner.head"+"new.hca" ")" + file + R"(")");
    EXPECT_EQ(ReadFile(container), ReadFile(lib() / "tuner.head") + "HCA-new");
    Run(LogLine("today", file, (folder / (hostile + ".mp3")).string()));
    EXPECT_EQ(ReadFile(folder / "tuner.log"), "today: \"" + hostile + ".sab\" > \"" + hostile + ".mp3\" \n");

    Run(Text(tool::restore_line(file)));
    EXPECT_EQ(ReadFile(container), original);
    EXPECT_EQ(Listing(folder), hostile + ".sab tuner.log");
    for (const fs::path& place : {root_.path(), lib(), folder, games_}) {
        EXPECT_FALSE(fs::exists(place / "pwned")) << place;
    }
}
