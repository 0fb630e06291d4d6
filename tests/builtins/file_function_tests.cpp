#include "Code/Code_Error.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_TextFile.h"
#include "builtin_test_support.h"
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {
class FileFunctions : public FileAreaTest {
  protected:
    void TearDown() override {
        TextFile_CloseAll();
        FileAreaTest::TearDown();
    }

    static double Number(const RValue& value) { return value.AsReal(); }
    static std::string Text(const RValue& value) { return std::string(value.Text()); }
    static double Exists(const std::string& name) {
        return Number(CallByName("file_exists", {RValue(name)}));
    }
    static double Open(const std::string& name) {
        return Number(CallByName("file_text_open_read", {RValue(name)}));
    }
    static std::string ReadLine(double slot) { return Text(CallByName("file_text_readln", {slot})); }
    static double AtEnd(double slot) { return Number(CallByName("file_text_eof", {slot})); }
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
} // namespace

TEST_F(FileFunctions, ExistsLooksInTheSaveAreaThenBesideTheProgram) {
    EXPECT_EQ(0, Exists("lib\\stream.ogg"));
    WriteFile(save_ / "lib/stream.ogg", "OggS");
    EXPECT_EQ(1, Exists("lib\\stream.ogg"));
    WriteFile(program_ / "lib.win", "MSCF");
    EXPECT_EQ(1, Exists("lib.win"));
    EXPECT_EQ(0, Exists("lib")) << "a folder is not a file";
    EXPECT_EQ(0, Exists(""));
}

TEST_F(FileFunctions, DeleteReachesOnlyWritableNames) {
    LogCapture log;
    WriteFile(save_ / "lib/orig.temp", "1");
    EXPECT_EQ(1, Number(CallByName("file_delete", {RValue("lib\\orig.temp")})));
    EXPECT_FALSE(fs::exists(save_ / "lib/orig.temp"));
    EXPECT_EQ(0, Number(CallByName("file_delete", {RValue("lib\\orig.temp")})));

    std::string unpicked = (outside_ / "keep.txt").string();
    WriteFile(unpicked, "keep");
    FileM_AddChosenForReading(unpicked);
    EXPECT_EQ(0, Number(CallByName("file_delete", {RValue(unpicked)})));
    EXPECT_TRUE(fs::exists(unpicked));
    EXPECT_EQ(0, Number(CallByName("file_delete", {RValue("lib\\..\\..\\..\\outside\\keep.txt")})));
    EXPECT_TRUE(fs::exists(unpicked));

    std::string target = (outside_ / "export.mp3").string();
    WriteFile(target, "old");
    FileM_AddChosenForWriting(target);
    EXPECT_EQ(1, Number(CallByName("file_delete", {RValue(target)})));
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(FileFunctions, CopyBringsPickedFilesInAndSendsResultsOut) {
    std::string chosen = (outside_ / "my song.mp3").string();
    const char bytes[] = "ID3\0\x01\x02 binary\r\n";
    std::string content(bytes, sizeof bytes - 1);
    WriteFile(chosen, content);
    FileM_AddChosenForReading(chosen);
    CallByName("file_copy", {RValue(chosen), RValue("lib\\replace.mp3")});
    EXPECT_EQ(content, ReadFile(save_ / "lib/replace.mp3"));

    std::string target = (outside_ / "out.mp3").string();
    FileM_AddChosenForWriting(target);
    CallByName("file_copy", {RValue("lib\\replace.mp3"), RValue(target)});
    EXPECT_EQ(content, ReadFile(target));
}

TEST_F(FileFunctions, CopyFailuresAreLoggedGiveMinusOneAndLeaveTheTargetAsItWas) {
    LogCapture log;
    std::string unpicked = (outside_ / "song.mp3").string();
    WriteFile(unpicked, "ID3");
    EXPECT_EQ(-1, Number(CallByName("file_copy", {RValue(unpicked), RValue("lib\\replace.mp3")})));
    EXPECT_FALSE(fs::exists(save_ / "lib/replace.mp3"));
    EXPECT_TRUE(Contains(log.Text(), "Unable to open source file " + unpicked + "\n"));

    WriteFile(save_ / "lib/export.mp3", "ID3");
    std::string unpickedTarget = (outside_ / "target.mp3").string();
    EXPECT_EQ(-1, Number(CallByName("file_copy", {RValue("lib\\export.mp3"), RValue(unpickedTarget)})));
    EXPECT_FALSE(fs::exists(unpickedTarget));
    EXPECT_TRUE(Contains(log.Text(), "Unable to open destination file " + unpickedTarget + "\n"));
    EXPECT_EQ(-1,
              Number(CallByName("file_copy", {RValue("lib\\export.mp3"), RValue("missing\\folder\\x.mp3")})));
    // Onto itself, and a write that fails part-way: the old content stays whole, no scrap beside it.
    EXPECT_EQ(0, Number(CallByName("file_copy", {RValue("lib\\export.mp3"), RValue("lib\\export.mp3")})));
    EXPECT_EQ("ID3", ReadFile(save_ / "lib/export.mp3"));
    WriteFile(save_ / "lib/big.wav", std::string(4096, 'w'));
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    rlimit small{1000, unlimited.rlim_max};
    ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    double copied = Number(CallByName("file_copy", {RValue("lib\\big.wav"), RValue("lib\\export.mp3")}));
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_EQ(-1, copied);
    EXPECT_EQ("ID3", ReadFile(save_ / "lib/export.mp3"));
    EXPECT_EQ(2u, std::distance(fs::directory_iterator(save_ / "lib"), fs::directory_iterator()));
}

TEST_F(FileFunctions, ReadingTurnsCrLfIntoLf) {
    WriteFile(save_ / "lib/temp.head", "0000000: 4843\r\nlone\rcarriage\nlast");
    double slot = Open("lib\\temp.head");
    ASSERT_EQ(1, slot);
    EXPECT_EQ(0, AtEnd(slot));
    EXPECT_EQ("0000000: 4843\n", ReadLine(slot));
    EXPECT_EQ("lone\rcarriage\n", ReadLine(slot));
    EXPECT_EQ(0, AtEnd(slot));
    EXPECT_EQ("last", ReadLine(slot));
    EXPECT_EQ(1, AtEnd(slot));
    EXPECT_EQ("", ReadLine(slot));
    CallByName("file_text_close", {slot});
    EXPECT_EQ(1, Open("lib\\temp.head")) << "a closed slot is free again";
}

TEST_F(FileFunctions, ReadsLinesLongerThanTheFirstBuffer) {
    std::string longLine(5000, 'x');
    longLine[1023] = 'A';
    longLine[4999] = 'Z';
    WriteFile(save_ / "long.txt", longLine + "\r\nshort\n");
    double slot = Open("long.txt");
    EXPECT_EQ(longLine + "\n", ReadLine(slot));
    EXPECT_EQ("short\n", ReadLine(slot));
    EXPECT_EQ(1, AtEnd(slot));
}

TEST_F(FileFunctions, ThirtyOneSlotsThenTheMaximumIsReported) {
    WriteFile(save_ / "lib/temp.head", "line\n");
    LogCapture log;
    for (int expected = 1; expected <= 31; ++expected) {
        ASSERT_EQ(expected, Open("lib\\temp.head"));
    }
    EXPECT_EQ(-1, Open("lib\\temp.head"));
    EXPECT_TRUE(Contains(log.Text(), "Cannot open another file (maximum exceeded).\n"));
    CallByName("file_text_close", {7.0});
    EXPECT_EQ(7, Open("lib\\temp.head"));
    EXPECT_EQ("line\n", ReadLine(31));
}

TEST_F(FileFunctions, OpeningWhatCannotBeFoundLogsTheName) {
    LogCapture log;
    EXPECT_EQ(-1, Open("lib\\temp.head"));
    EXPECT_TRUE(Contains(log.Text(), "ERROR!!! :: Failed to open file: lib\\temp.head\n"));
    WriteFile(outside_ / "secret.txt", "secret");
    EXPECT_EQ(-1, Open((outside_ / "secret.txt").string()));
    EXPECT_EQ(-1, Open("lib")) << "a folder cannot be read as text";
}

TEST_F(FileFunctions, SlotsThatAreNotOpenAreReportedWithoutEndingTheProgram) {
    LogCapture log;
    EXPECT_EQ("", ReadLine(5));
    EXPECT_EQ(1, AtEnd(-1)) << "a read loop after a failed open must stop";
    EXPECT_EQ("", ReadLine(32));
    std::string text = log.Text();
    size_t first = text.find("File is not opened for reading.");
    ASSERT_NE(std::string::npos, first);
    EXPECT_NE(std::string::npos, text.find("File is not opened for reading.", first + 1));
    CallByName("file_text_close", {0.0});
    CallByName("file_text_close", {32.0});
    EXPECT_TRUE(Contains(log.Text(), "Trying to close text file that has not been opened."));
}

TEST_F(FileFunctions, FilenamePartsOfWindowsAndPosixPaths) {
    EXPECT_EQ(".mab", Text(CallByName("filename_ext", {RValue("C:\\music\\track.mab")})));
    EXPECT_EQ("track.mab", Text(CallByName("filename_name", {RValue("C:\\music\\track.mab")})));
    EXPECT_EQ("C:\\music\\", Text(CallByName("filename_path", {RValue("C:\\music\\track.mab")})));
    EXPECT_EQ("/home/u/", Text(CallByName("filename_path", {RValue("/home/u/bgm_01.sab")})));
    EXPECT_EQ("bgm_01.sab", Text(CallByName("filename_name", {RValue("/home/u/bgm_01.sab")})));
    EXPECT_EQ("dir/sub\\", Text(CallByName("filename_path", {RValue("dir/sub\\x")})));
    EXPECT_EQ("", Text(CallByName("filename_ext", {RValue("noext")})));
    EXPECT_EQ("noext", Text(CallByName("filename_name", {RValue("noext")})));
    EXPECT_EQ(".gz", Text(CallByName("filename_ext", {RValue("a.tar.gz")})));
}

TEST_F(FileFunctions, FilenamePathOfABareNameLooksTheFileUp) {
    EXPECT_EQ(program_.string() + "/", Text(CallByName("filename_path", {RValue("song.mp3")})));
    WriteFile(save_ / "song.mp3", "ID3");
    EXPECT_EQ(save_.string() + "/", Text(CallByName("filename_path", {RValue("song.mp3")})));
    EXPECT_EQ("", Text(CallByName("filename_path", {RValue("/etc")}))) << "outside every allowed folder";
}

TEST_F(FileFunctions, FilenamePathNeedsText) {
    try {
        CallByName("filename_path", {RValue(3.0)});
        FAIL() << "no error raised";
    } catch (const ScriptError& error) {
        EXPECT_STREQ("null string passed to filename_path", error.what());
    }
}
