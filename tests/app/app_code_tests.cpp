// The app's own code outside a running game: every command line it builds, byte for byte, and the
// colour parser of its configuration.
#include "Code/Code_Function.h"
#include "Shell_Names.h"
#include "Variable/Variable_BuiltIn.h"
#include "app/Tool_Game.h"
#include "app/actions/command_lines.h"
#include <gtest/gtest.h>

namespace {
class AppCode : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Function_RegisterAll();
        Variable_BuiltIn_RegisterCore();
        ASSERT_TRUE(Code_BindReferences(Tool_Game(nullptr, 0)));
    }
    const RValue container = "C:\\Games\\bgm_01.sab";
};
} // namespace

TEST_F(AppCode, ImportOfAnHcaContainerWithItsStreamAtByte576) {
    EXPECT_EQ(
        "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & dd.exe if=\"C:\\Games\\bgm_01.sab\" "
        "of=\"bgm_01.sab.hca\" bs=16 skip=36 & vgaudiocli.exe -i \"bgm_01.sab.hca\" \"bgm_01.sab.wav\" & "
        "copy /y \"bgm_01.sab.wav\" source.wav & ffmpeg.exe -y -i source.wav -ac 2 stream.ogg & "
        "del /q *.hca & del /q \"bgm_01.sab.wav\"",
        tool::import_hca_line(container, "bgm_01.sab", 16, RValue(576.0) / RValue(16.0)).Text());
}

TEST_F(AppCode, ImportOfAnOggContainerAlsoDecodesItsOwnStream) {
    EXPECT_EQ("cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & dd.exe if=\"C:\\Games\\bgm_02.sab\" "
              "of=\"bgm_02.sab.ogg\" bs=16 skip=0 & ffmpeg.exe -y -i \"bgm_02.sab.ogg\" -ac 2 stream.ogg & "
              "ffmpeg.exe -y -i \"bgm_02.sab.ogg\" source.wav & del /q \"bgm_02.sab.ogg\"",
              tool::import_ogg_line("C:\\Games\\bgm_02.sab", "bgm_02.sab", 16, 0).Text());
}

TEST_F(AppCode, StartUpProbeExportAndEnd) {
    const RValue program = "C:\\Tools\\Tuner";
    EXPECT_EQ("if not exist \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" ( mkdir "
              "\"%APPDATA%\\Morvane_Radio_Tuner\\lib\" )",
              tool::make_lib_line().Text());
    EXPECT_EQ("start \"\" /b cmd.exe /c \"expand \"C:\\Tools\\Tuner\\lib.win\" -f:* "
              "\"%APPDATA%\\Morvane_Radio_Tuner\\lib\" && echo 1 > \"C:\\Tools\\Tuner\\temp.dat\"\"",
              tool::unpack_line(program).Text());
    EXPECT_EQ("del \"C:\\Tools\\Tuner\\temp.dat\"", tool::delete_marker_line(program).Text());
    EXPECT_EQ("if exist \"%APPDATA%\\Morvane_Radio_Tuner\\lib\\stream.ogg\" ( del /f /q "
              "\"%APPDATA%\\Morvane_Radio_Tuner\\lib\\stream.ogg\" )",
              tool::remove_preview_line().Text());
    EXPECT_EQ(
        "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & xxd.exe -u -l 2048 \"C:\\Games\\bgm_01.sab\" > "
        "temp.head",
        tool::dump_line(container).Text());
    // a path that is not a string leaves the quotes empty
    EXPECT_EQ("cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & xxd.exe -u -l 2048 \"\" > temp.head",
              tool::dump_line(RValue(5.0)).Text());
    EXPECT_EQ("cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ffmpeg.exe -y -i source.wav export.ogg",
              tool::export_line(".ogg").Text());
    EXPECT_EQ("cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ffmpeg.exe -y -i source.wav export",
              tool::export_line("").Text());
    EXPECT_EQ("rmdir /s /q \"%APPDATA%\\Morvane_Radio_Tuner\\lib\"", tool::cleanup_line().Text());
}

TEST_F(AppCode, BackupTestRebuildAndLog) {
    EXPECT_EQ(
        "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & if exist \"C:\\Games\\bgm_01.sab.orig\" ( echo 1 > "
        "orig.temp )",
        tool::backup_test_line(container).Text());
    // The new container is made in the lib directory; the tool puts it in place itself.
    EXPECT_EQ(
        "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ffmpeg.exe -y -i \"replace.mp3\" "
        "\"replace.mp3.wav\" "
        "& vgaudiocli.exe -i \"replace.mp3.wav\" \"replace.mp3.hca\" --out-format hca --hcaquality high & "
        "copy /b \"tuner.head\"+\"replace.mp3.hca\" \"rebuilt.container\" & del /q replace.mp3 & "
        "del /q *.hca & del /q *.wav",
        tool::rebuild_line("replace.mp3").Text());
    EXPECT_EQ("echo Sat Dec  5 14:03:15 2026: \"bgm_01.sab\" ^> \"song.mp3\" >> \"C:\\Games\\tuner.log\"",
              tool::log_line("Sat Dec  5 14:03:15 2026", container, "D:\\Music\\song.mp3").Text());
    // A newline in a name stays inside the one log line.
    EXPECT_EQ("echo now: \"a\\nb.sab\" ^> \"x\\ty.mp3\" >> \"C:\\Games\\tuner.log\"",
              shell::DecodeNames(tool::log_line("now", "C:\\Games\\a\nb.sab", "x\ty.mp3").Text()));
}

TEST_F(AppCode, MakeColorHexShortLongAndOddTexts) {
    auto colour = [](const RValue& text) { return tool::call_script(tool::make_color_hex, text).AsReal(); };
    EXPECT_EQ(2232593, colour("#112"));
    EXPECT_EQ(2232593, colour("112"));
    EXPECT_EQ(4994357, colour("#35354C"));
    EXPECT_EQ(4994357, colour("35354c"));
    EXPECT_EQ(16777215, colour(5));
    // six characters with "#": the long form from position 2, the missing sixth digit counts as 15
    EXPECT_EQ(6239250, colour("#12345"));
    // a letter that is no digit counts as 15
    EXPECT_EQ(255, colour("#GG0000"));
}

TEST_F(AppCode, BatchModeLines) {
    EXPECT_EQ("expand \"C:\\Tools\\Tuner\\lib.win\" -f:* \"%APPDATA%\\Morvane_Radio_Tuner\\lib\"",
              tool::unpack_now_line("C:\\Tools\\Tuner").Text());
    EXPECT_EQ("cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & dd.exe if=\"C:\\Games\\bgm_01.sab\" "
              "of=\"bgm_01.sab.hca\" bs=16 skip=36 & vgaudiocli.exe -i \"bgm_01.sab.hca\" \"x.wav\" & "
              "del /q \"bgm_01.sab.hca\"",
              tool::decode_stream_line(container, "bgm_01.sab", 16, 36, 0, "x.wav").Text());
    EXPECT_EQ("cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & dd.exe if=\"C:\\Games\\bgm_01.sab\" "
              "of=\"bgm_01.sab.ogg\" bs=16 skip=4 & ffmpeg.exe -y -i \"bgm_01.sab.ogg\" \"x.wav\" & "
              "del /q \"bgm_01.sab.ogg\"",
              tool::decode_stream_line(container, "bgm_01.sab", 16, 4, 1, "x.wav").Text());
    EXPECT_EQ(
        "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ffmpeg.exe -y -i \"D:\\Music\\song.mp3\" \"x.wav\"",
        tool::decode_audio_line("D:\\Music\\song.mp3", "x.wav").Text());
}

// Calls and writes through the references bound at load go straight to the built-in, but what the
// table refuses is still refused: a wrong argument count, a write to a read-only variable.
TEST_F(AppCode, BoundReferencesStillRefuseWhatTheTableRefuses) {
    EXPECT_EQ(RValue(3.0), tool::string_length("abc"));
    try {
        tool::string_length();
        ADD_FAILURE() << "no error for a missing argument";
    } catch (const ScriptError& error) {
        EXPECT_STREQ("wrong number of arguments for string_length: expected 1, got 0", error.what());
    }
    try {
        tool::set(tool::BV::id, 5);
        ADD_FAILURE() << "no error for a read-only variable";
    } catch (const ScriptError& error) {
        EXPECT_STREQ("Unable to set a read-only variable id", error.what());
    }
}
