// The tool's own command lines, exactly as it builds them, run against a real lib.win in a
// temporary APPDATA and program folder, and judged by what they do to files: for an ordinary name and
// for names full of the interpreter's operators, quotes, expansions, wildcards or a leading dash, each
// line works on its own files, leaves nothing behind and runs nothing a name holds.
#include "Code/Code_Function.h"
#include "Variable/Variable_BuiltIn.h"
#include "app/Tool_Game.h"
#include "app/actions/action_files.h"
#include "app/actions/audio_length.h"
#include "app/actions/command_lines.h"
#include "app/actions/container_actions.h"
#include "app/busy_note.h"
#include "shell_test_support.h"
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The lines come from the app itself; they call built-ins, so those are bound first.
std::string Text(const RValue& line) {
    return std::string(line.Text());
}

bool IsExecutable(const fs::path& path) {
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// A name whose one operator is '&' runs what follows it wherever a line takes the name unquoted.
const std::vector<std::string> Names = {"bgm_01", UnusualName, "-dash", "a&mkdir run"};

// The lib folder's listing when it holds the helpers and `made`.
std::string LibWith(std::vector<std::string> made) {
    for (const char* helper : {"dd.exe", "ffmpeg.exe", "tuner.head", "vgaudiocli.exe", "xxd.exe"}) {
        made.push_back(helper);
    }
    return Sorted(std::move(made));
}

std::string Little(uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) {
        text += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return text;
}

// `seconds` of a 16-bit stereo tone at 44.1 kHz, louder on the left.
std::string ToneWav(int seconds) {
    std::string samples;
    for (int i = 0; i < 44100 * seconds; ++i) {
        const double wave = std::sin(i * 0.0627);
        samples += Little(static_cast<uint16_t>(static_cast<int16_t>(9000 * wave)), 2);
        samples += Little(static_cast<uint16_t>(static_cast<int16_t>(3000 * wave)), 2);
    }
    return "RIFF" + Little(static_cast<uint32_t>(36 + samples.size()), 4) + "WAVEfmt " + Little(16, 4) +
           Little(1, 2) + Little(2, 2) + Little(44100, 4) + Little(44100 * 4, 4) + Little(4, 2) +
           Little(16, 2) + "data" + Little(static_cast<uint32_t>(samples.size()), 4) + samples;
}

double Seconds(const fs::path& wav) {
    return tool::ReadWavInfo(Utf8(wav)).Seconds();
}

// How much of what a busy window expects of a file the file holds: 1 when they agree.
double ShareOfExpected(const tool::WatchedFile& file) {
    return file.samples > 0 ? double(tool::ogg_last_position(file.path)) / double(file.samples)
                            : double(tool::FileSize(file.path)) / double(file.bytes);
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

    // The folder of the containers, beside the runtime's current folder.
    fs::path music() const { return root_.path() / "My Music & more"; }
    fs::path container(const std::string& name) const { return music() / FromUtf8(name + ".sab"); }

    // Replace's rebuild from a second-long tone named `name`.wav in the lib folder, renamed into the
    // music folder as `name`.sab.
    void MakeContainer(const std::string& name) {
        WriteFile(lib() / FromUtf8(name + ".wav"), ToneWav(1));
        Run(Text(tool::rebuild_line(name + ".wav")));
        fs::create_directories(music());
        fs::rename(lib() / tool::rebuilt_container, container(name));
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

// Replace's line turns the chosen file into a container (the header, then the stream) in the lib
// folder, and removes the chosen file and everything made on the way.
TEST_F(ToolLines, ReplaceRebuildsFromAChosenFileOfAnyName) {
    Unpack();
    const std::string head = ReadFile(lib() / "tuner.head");
    for (const std::string& name : Names) {
        WriteFile(lib() / FromUtf8(name + ".wav"), ToneWav(1));
        Run(Text(tool::rebuild_line(name + ".wav")));
        EXPECT_EQ(Listing(lib()), LibWith({tool::rebuilt_container})) << name;
        const std::string rebuilt = ReadFile(lib() / tool::rebuilt_container);
        EXPECT_EQ(rebuilt.substr(0, head.size()), head) << name;
        EXPECT_GT(rebuilt.size(), head.size() + 10000) << name;
        fs::remove(lib() / tool::rebuilt_container);
    }
}

// Import cuts the stream out from past the header, keeps the whole track as source.wav and a preview,
// and leaves the container's folder as it was.
TEST_F(ToolLines, ImportKeepsTheWholeTrackAndNothingElse) {
    Unpack();
    for (const std::string& name : Names) {
        MakeContainer(name);
        const std::string before = Listing(music());
        Run(Text(tool::import_hca_line(Utf8(container(name)), name + ".sab", 16, 576 / 16)));
        EXPECT_EQ(Listing(lib()), LibWith({"source.wav", "stream.ogg"})) << name;
        EXPECT_NEAR(Seconds(lib() / "source.wav"), 1.0, 0.1) << name;
        EXPECT_EQ(Listing(music()), before) << name;
        Run(Text(tool::remove_preview_line()));
        fs::remove(lib() / "source.wav");
    }
}

// Batch mode's decodes: the HCA stream past the header, an Ogg stream one block in, any audio file.
TEST_F(ToolLines, BatchDecodesWhicheverStreamTheContainerHolds) {
    Unpack();
    for (const std::string& name : Names) {
        MakeContainer(name);
        Run(Text(tool::decode_stream_line(Utf8(container(name)), name + ".sab", 16, 576 / 16, 0, "hca.wav")));
        EXPECT_NEAR(Seconds(lib() / "hca.wav"), 1.0, 0.1) << name;
        // An Ogg container: 16 bytes, then the stream.
        Run(Text(tool::decode_audio_line(Utf8(lib() / "hca.wav"), "x.ogg")));
        const fs::path ogg = music() / FromUtf8(name + " ogg.sab");
        WriteFile(ogg, std::string(16, 'h') + ReadFile(lib() / "x.ogg"));
        Run(Text(tool::decode_stream_line(Utf8(ogg), name + " ogg.sab", 16, 1, 1, "ogg.wav")));
        EXPECT_NEAR(Seconds(lib() / "ogg.wav"), 1.0, 0.1) << name;
        Run(Text(tool::import_ogg_line(Utf8(ogg), name + " ogg.sab", 16, 1)));
        EXPECT_NEAR(Seconds(lib() / "source.wav"), 1.0, 0.1) << name;
        EXPECT_EQ(Listing(lib()), LibWith({"hca.wav", "ogg.wav", "source.wav", "stream.ogg", "x.ogg"}))
            << name;
        for (const char* made : {"hca.wav", "ogg.wav", "source.wav", "stream.ogg", "x.ogg"}) {
            fs::remove(lib() / made);
        }
    }
}

// Each Export converts the track as it is now, over the last export.
TEST_F(ToolLines, ExportConvertsTheCurrentTrackEveryTime) {
    Unpack();
    for (int seconds : {1, 2}) {
        WriteFile(lib() / "source.wav", ToneWav(seconds));
        Run(Text(tool::export_line(".ogg")));
        // Checked as the tool checks an export, under a name the user chose.
        const fs::path chosen = music() / FromUtf8(std::string(UnusualName) + ".ogg");
        fs::create_directories(music());
        // Removed first: MinGW's copy_file refuses to overwrite.
        fs::remove(chosen);
        fs::copy_file(lib() / "export.ogg", chosen);
        Run(Text(tool::decode_audio_line(Utf8(chosen), "check.wav")));
        EXPECT_NEAR(Seconds(lib() / "check.wav"), seconds, 0.1);
    }
}

// A busy window's percentage is measured against what the lines then write: an export in each format
// and its check; a chosen file (MP3 with and without a frame count, MPEG-2 mono, Ogg, WAV, a WAV whose
// writer could not seek back to fill in its sizes) decoded and encoded to HCA, the names being the ones
// the rebuild line uses.
TEST_F(ToolLines, BusyNotesExpectWhatTheLinesWrite) {
    Unpack();
    const std::string libFolder = Utf8(lib()) + "/";
    WriteFile(lib() / "source.wav", ToneWav(3));
    for (const char* extension : {".wav", ".ogg", ".mp3"}) {
        const auto watched = tool::export_watch(libFolder, RValue(std::string(UnusualName) + extension));
        ASSERT_EQ(watched.size(), 2u) << extension;
        Run(Text(tool::export_line(extension)));
        EXPECT_NEAR(ShareOfExpected(watched[0]), 1.0, 0.03) << extension;
        Run(Text(tool::decode_audio_line(watched[0].path, "check.wav")));
        EXPECT_NEAR(ShareOfExpected(watched[1]), 1.0, 0.01) << extension;
    }
    fs::create_directories(music());
    const std::vector<std::pair<std::string, std::string>> chosen = {{"cbr.mp3", ""},
                                                                     {"vbr.mp3", "-q:a 6"},
                                                                     {"no count.mp3", "-write_xing 0"},
                                                                     {"mono.mp3", "-ac 1 -ar 22050"},
                                                                     {"song.ogg", ""},
                                                                     {"song.wav", "-ar 48000"},
                                                                     {"streamed.wav", "-seekable 0"}};
    for (const auto& [name, options] : chosen) {
        const std::string path = Utf8(music() / name);
        ASSERT_EQ(RunLine("ffmpeg.exe -y -i source.wav " + options + " \"" + path + "\"", lib()), 0) << name;
        const auto watched = tool::replace_watch(libFolder, RValue(path));
        ASSERT_EQ(watched.size(), 2u) << name;
        const std::string decoded = fs::path(watched[0].path).filename().string();
        EXPECT_NE(
            Text(tool::rebuild_line(tool::rebuild_working_name(RValue(path)))).find('"' + decoded + '"'),
            std::string::npos)
            << name;
        Run(Text(tool::decode_audio_line(path, decoded)));
        EXPECT_NEAR(ShareOfExpected(watched[0]), 1.0, 0.02) << name;
        RunLine("vgaudiocli.exe -i \"" + decoded + "\" \"" + fs::path(watched[1].path).filename().string() +
                    "\" --out-format hca --hcaquality high",
                lib());
        EXPECT_NEAR(ShareOfExpected(watched[1]), 1.0, 0.02) << name;
    }
}

// Only the container's own backup counts: not another's, not one a wildcard or expansion would reach.
TEST_F(ToolLines, BackupTestSeesOnlyTheContainersOwnBackup) {
    Unpack();
    fs::create_directories(music());
    WriteFile(music() / "other.sab.orig", "o");
    for (const std::string& name : Names) {
        WriteFile(container(name), "c");
        Run(Text(tool::backup_test_line(Utf8(container(name)))));
        EXPECT_FALSE(fs::exists(lib() / "orig.temp")) << name;
        WriteFile(music() / FromUtf8(name + ".sab.orig"), "o");
        Run(Text(tool::backup_test_line(Utf8(container(name)))));
        EXPECT_TRUE(fs::exists(lib() / "orig.temp")) << name;
        fs::remove(lib() / "orig.temp");
        fs::remove(music() / FromUtf8(name + ".sab.orig"));
    }
}

// Each Replace adds one line to tuner.log beside the container; a line feed or tab in a name stays
// inside its line.
TEST_F(ToolLines, LogGrowsByOneLineAReplaceBesideTheContainer) {
    Unpack();
    fs::create_directories(music());
    std::string expected;
    for (const std::string& name : Names) {
        Run(Text(tool::log_line("now", Utf8(container(name)), "D:\\Music\\" + name + ".mp3")));
        expected += "now: \"" + name + ".sab\" > \"" + name + ".mp3\" \n";
    }
    Run(Text(tool::log_line("then", Utf8(music() / "a\nb.sab"), "x\ty.mp3")));
    // echo ends its line with \n on Windows too.
    expected += "then: \"a\\nb.sab\" > \"x\\ty.mp3\" \n";
    EXPECT_EQ(ReadFile(music() / "tuner.log"), expected);
    EXPECT_EQ(Listing(lib()), LibWith({}));
}

// The probe's dump covers the container's first 2048 bytes, where the stream's start is looked for.
TEST_F(ToolLines, ProbeDumpsTheFirst2048Bytes) {
    Unpack();
    fs::create_directories(music());
    for (const std::string& name : Names) {
        WriteFile(container(name), std::string(4096, 'Z'));
        Run(Text(tool::dump_line(Utf8(container(name)))));
        const std::string dump = ReadFile(lib() / "temp.head");
        EXPECT_NE(dump.find("00007F0:"), std::string::npos) << name;
        EXPECT_EQ(dump.find("0000800:"), std::string::npos) << name;
        fs::remove(lib() / "temp.head");
    }
}

// The end takes the whole work folder with it, whatever is in it.
TEST_F(ToolLines, CleanupRemovesTheWorkFolderWithItsContents) {
    Unpack();
    fs::create_directories(lib() / "left over");
    WriteFile(lib() / "left over/x.wav", "x");
    Run(Text(tool::cleanup_line()));
    EXPECT_FALSE(fs::exists(lib()));
    EXPECT_TRUE(fs::exists(appData_ / "Morvane_Radio_Tuner"));
}
