// The built-in commands and the chaining rules, run through the interpreter executable.
#include "Shell_FileSystem.h"
#include "Shell_Names.h"
#include "shell_test_support.h"
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using shell::AsName;
using shell::MatchWildcard;
using shell::ProgramArgument;

namespace {

class ShellCommands : public testing::Test {
  protected:
    int Run(const std::string& line, RunOptions options = {}) { return RunLine(line, dir(), options); }
    fs::path dir() const { return folder_.path(); }

    TempFolder folder_;
};

bool WaitForFile(const fs::path& path, std::chrono::seconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!fs::exists(path) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return fs::exists(path);
}

} // namespace

TEST_F(ShellCommands, AmpersandRunsAlwaysAndDoubleAmpersandOnlyAfterSuccess) {
    EXPECT_EQ(Run("copy missing x & echo a > after.txt"), 0);
    EXPECT_EQ(ReadFile(dir() / "after.txt"), "a \n");
    EXPECT_NE(Run("copy missing x && echo b > skipped.txt"), 0);
    EXPECT_FALSE(fs::exists(dir() / "skipped.txt"));
    // A skipped command keeps the failure for the next "&&"; a later "&" runs again.
    Run("copy missing x && echo c > s1.txt && echo d > s2.txt & echo e > ran.txt");
    EXPECT_FALSE(fs::exists(dir() / "s1.txt"));
    EXPECT_FALSE(fs::exists(dir() / "s2.txt"));
    EXPECT_TRUE(fs::exists(dir() / "ran.txt"));
    // The status of the line is that of its last command.
    EXPECT_EQ(Run("copy missing x & echo ok"), 0);
    EXPECT_EQ(Run("echo ok & copy missing x"), 1);
}

TEST_F(ShellCommands, ConditionsTestFilesAndFolders) {
    fs::create_directory(dir() / "sub folder");
    WriteFile(dir() / "f.txt", "x");
    Run(R"(if exist "sub folder" ( echo 1 > a.txt ) & if exist f.txt echo 2 > b.txt)");
    Run(R"(if not exist "sub folder" ( echo 3 > c.txt ) & if not exist "nothing" (echo 4 > d.txt))");
    EXPECT_TRUE(fs::exists(dir() / "a.txt"));
    EXPECT_TRUE(fs::exists(dir() / "b.txt"));
    EXPECT_FALSE(fs::exists(dir() / "c.txt"));
    EXPECT_TRUE(fs::exists(dir() / "d.txt"));
}

TEST_F(ShellCommands, FoldersAreMadeEnteredAndRemoved) {
    EXPECT_EQ(Run(R"(mkdir "a\b c\d" & cd /d "a\b c" & echo x > here.txt)"), 0);
    EXPECT_TRUE(fs::is_directory(dir() / "a/b c/d"));
    EXPECT_TRUE(fs::exists(dir() / "a/b c/here.txt"));
    EXPECT_NE(Run(R"(mkdir "a")"), 0);
    // A failed cd leaves the folder as it was.
    Run(R"(cd /d "nowhere" & echo y > stayed.txt)");
    EXPECT_TRUE(fs::exists(dir() / "stayed.txt"));
    EXPECT_EQ(Run(R"(rmdir /s /q "a\")"), 0);
    EXPECT_FALSE(fs::exists(dir() / "a"));
    EXPECT_NE(Run(R"(rmdir /s /q "a")"), 0);
    // An empty name is not the current folder.
    EXPECT_NE(Run(R"(rmdir /s /q "")"), 0);
    EXPECT_TRUE(fs::exists(dir() / "stayed.txt"));
}

// Names written with AsName reach every command exactly, run nothing and match nothing but themselves.
TEST_F(ShellCommands, NamesAreOnlyNames) {
    const std::string payload = UnusualName;
    WriteFile(dir() / FromUtf8(payload), "p");
    WriteFile(dir() / "x.hca", "x");
    EXPECT_EQ(Run("echo " + AsName(payload) + "> \"" + AsName(payload) + ".log\""), 0);
    EXPECT_EQ(ReadFile(dir() / FromUtf8(payload + ".log")), payload + "\n");
    EXPECT_EQ(Run("if exist \"" + AsName(payload) + "\" del /q \"" + AsName(payload) + "\""), 0);
    // The name's '*' is no wildcard: with the file gone it matches nothing, x.hca stays.
    EXPECT_NE(Run("del /q \"" + AsName("*.hca") + "\""), 0);
    EXPECT_EQ(Listing(dir()), payload + ".log x.hca");
    EXPECT_EQ(ProgramArgument(AsName("-dash.wav")), "./-dash.wav");
    EXPECT_EQ(ProgramArgument("of=" + AsName("-dash.wav")), "of=-dash.wav");
}

TEST(Wildcards, MatchInTimeProportionalToPatternTimesName) {
    std::string stars(40, '*');
    std::string name(60, 'a');
    size_t steps = 0;
    EXPECT_FALSE(MatchWildcard(stars + "b", name, nullptr, &steps));
    EXPECT_LE(steps, (stars.size() + 2) * (name.size() + 1));
    EXPECT_TRUE(MatchWildcard("*a?a*", name));
    EXPECT_TRUE(MatchWildcard("A*.HCA", "a.b.hca"));
    EXPECT_FALSE(MatchWildcard("*.hca", "a.hca.wav"));
    // Stars at the end also match no character at all.
    EXPECT_TRUE(MatchWildcard("a.hca**", "a.hca"));
}

// Past the 260 characters a Windows path once had at most.
TEST_F(ShellCommands, LongPathsWorkThroughout) {
    std::string line = "folder with a long name 0";
    std::string path = line;
    for (int i = 1; i < 12; ++i) {
        line += "\\folder with a long name " + std::to_string(i);
        path += "/folder with a long name " + std::to_string(i);
    }
    ASSERT_GT(Utf8(dir() / path).size(), 300u);
    EXPECT_EQ(Run("mkdir \"" + line + "\" & cd /d \"" + line +
                  "\" & echo deep > in.txt & copy /b in.txt+in.txt both.txt"),
              0);
    // (libstdc++ cannot list a folder this deep on Windows.)
    EXPECT_EQ(ReadFile(dir() / path / "both.txt"), "deep  \ndeep  \n");
    EXPECT_EQ(Run(R"(rmdir /s /q "folder with a long name 0")"), 0);
    EXPECT_EQ(Listing(dir()), "");
}

TEST_F(ShellCommands, RemovingATreeNeverFollowsLinksOutOfIt) {
    fs::create_directories(dir() / "outside/deep");
    WriteFile(dir() / "outside/keep.txt", "k");
    WriteFile(dir() / "outside/deep/keep.txt", "k");
    fs::create_directories(dir() / "lib/sub");
    WriteFile(dir() / "lib/sub/x.wav", "x");
    if (!MakeLink(dir() / "outside", dir() / "lib/link", true)) {
        GTEST_SKIP() << "this user may not make links here";
    }
    ASSERT_TRUE(MakeLink(dir() / "outside", dir() / "lib/sub/link2", true));
    ASSERT_TRUE(MakeLink(dir() / "outside/keep.txt", dir() / "lib/file-link", false));
    ASSERT_TRUE(MakeLink(dir() / "outside", dir() / "top-link", true));
    EXPECT_EQ(Run(R"(rmdir /s /q "lib")"), 0);
    EXPECT_FALSE(fs::exists(dir() / "lib"));
    // A link named as the folder itself goes, and only the link.
    EXPECT_EQ(Run(R"(rmdir /s /q "top-link")"), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir() / "top-link")));
    EXPECT_EQ(ReadFile(dir() / "outside/keep.txt"), "k");
    EXPECT_EQ(ReadFile(dir() / "outside/deep/keep.txt"), "k");
}

TEST_F(ShellCommands, DeleteMatchesWildcardsAndSparesFolders) {
    for (const char* name : {"a.hca", "B.HCA", "a.hca.wav", "keep.hc", "source.wav"}) {
        WriteFile(dir() / name, "x");
    }
    fs::create_directory(dir() / "dir.hca");
    EXPECT_EQ(Run("del /q *.hca"), 0);
    EXPECT_EQ(Listing(dir()), "a.hca.wav dir.hca keep.hc source.wav");
    // '?' alone makes a pattern too.
    EXPECT_EQ(Run(R"(del /q "a.hca.wav" & del /q s?urce.* & del /q keep.h?)"), 0);
    EXPECT_EQ(Listing(dir()), "dir.hca");
    EXPECT_NE(Run("del /q *.ogg"), 0);
    EXPECT_NE(Run("del /q dir.hca"), 0);
    EXPECT_TRUE(fs::is_directory(dir() / "dir.hca"));
}

TEST_F(ShellCommands, ReadOnlyFilesNeedForce) {
    WriteFile(dir() / "ro.txt", "x");
    fs::permissions(dir() / "ro.txt", fs::perms::owner_read);
    EXPECT_NE(Run("del /q ro.txt"), 0);
    EXPECT_TRUE(fs::exists(dir() / "ro.txt"));
    EXPECT_EQ(Run("del /f /q ro.txt"), 0);
    EXPECT_FALSE(fs::exists(dir() / "ro.txt"));
}

TEST_F(ShellCommands, EchoWritesCreatesAndAppends) {
    Run(R"(echo first ^> line > "log file.txt" & echo second >> "log file.txt")");
    Run(R"(echo third>>"log file.txt")");
    EXPECT_EQ(ReadFile(dir() / "log file.txt"), "first > line  \nsecond \nthird\n");
    Run(R"(echo "a\b" %% 100%% > e.txt)");
    EXPECT_EQ(ReadFile(dir() / "e.txt"), "\"a\\b\" %% 100%% \n");
}

TEST_F(ShellCommands, CopyJoinsBytesAndReplacesWhole) {
    std::string head("\0\1\2\r\n\x1a", 6);
    WriteFile(dir() / "tuner.head", head);
    WriteFile(dir() / "new.hca", std::string("HCA\0\x1a\xff", 6));
    WriteFile(dir() / "target.sab", "old content");
    EXPECT_EQ(Run(R"(copy /b "tuner.head"+"new.hca" "target.sab")"), 0);
    EXPECT_EQ(ReadFile(dir() / "target.sab"), head + std::string("HCA\0\x1a\xff", 6));
    fs::create_directory(dir() / "folder");
    EXPECT_EQ(Run(R"(copy new.hca folder)"), 0);
    EXPECT_TRUE(fs::exists(dir() / "folder/new.hca"));
    EXPECT_NE(Run(R"(copy new.hca new.hca)"), 0);
    EXPECT_EQ(ReadFile(dir() / "new.hca").size(), 6u);
}

TEST_F(ShellCommands, FailedCopiesLeaveTheTargetAsItWas) {
    WriteFile(dir() / "target.sab", "container");
    WriteFile(dir() / "a", "aaa");
    // A missing source, even the second one of a join.
    EXPECT_NE(Run(R"(copy /y "missing" "target.sab")"), 0);
    EXPECT_NE(Run(R"(copy /b "a"+"missing" "target.sab")"), 0);
    EXPECT_EQ(ReadFile(dir() / "target.sab"), "container");
    EXPECT_EQ(Listing(dir()), "a target.sab");
    if (!CanLimitFileSize) {
        return;
    }
    // A write that fails part-way.
    WriteFile(dir() / "big", std::string(4096, 'b'));
    EXPECT_NE(Run(R"(copy /y "big" "target.sab")", {.fileSizeLimit = 1000}), 0);
    EXPECT_EQ(ReadFile(dir() / "target.sab"), "container");
    EXPECT_EQ(Listing(dir()), "a big target.sab");
}

TEST_F(ShellCommands, ProgramsRunOnlyFromTheCurrentFolder) {
    InstallProbe(dir(), "say");
    EXPECT_EQ(Run(R"(say.exe "a b" c\d > out.txt)"), 0);
    // Arguments arrive split by the C runtime's rules, backslashes made the system's separator.
    EXPECT_EQ(ReadFile(dir() / "out.txt"), std::string("a b|c") + shell::Separator + "d|");
    EXPECT_EQ(Run(R"(say x > bare.txt)"), 0);
    EXPECT_EQ(ReadFile(dir() / "bare.txt"), "x|");
    // A program's output file is free once the program has ended: removed at once, it is gone.
    EXPECT_EQ(Run("say.exe 1 > gone.txt & del gone.txt & say.exe 2 > gone.txt & del gone.txt"), 0);
    EXPECT_FALSE(fs::exists(dir() / "gone.txt"));
    // Nothing from the search path, no folders, no other files, nothing through a shell.
    EXPECT_EQ(Run("printf x > a.txt"), NotFoundExit);
    EXPECT_EQ(Run(R"(\usr\bin\touch.exe pwned)"), NotFoundExit);
    EXPECT_EQ(Run("$(touch pwned).exe"), NotFoundExit);
    WriteFile(dir() / "script.sh", "#!/bin/sh\ntouch pwned\n");
    fs::permissions(dir() / "script.sh", fs::perms::owner_all);
    EXPECT_EQ(Run("script.sh"), NotFoundExit);
    EXPECT_FALSE(fs::exists(dir() / "pwned"));
}

// Whatever a name holds, the program gets it as one argument, byte for byte.
TEST_F(ShellCommands, NamesReachProgramsUnchanged) {
    InstallProbe(dir(), "say");
    const std::string names[] = {
        "a b",
        R"(say "hi" & del * ^& %PATH%)",
        R"(ends in one \ "quote)",
        R"(two \\ and "\)",
        R"(\"\\")",
        "日本語 ü\tтекст",
        // A name token's own delimiters around hex digits: \x01 41 \x02 would read as "A".
        "\00141\002",
        "",
    };
    std::string line = "say.exe";
    std::string expected;
    for (const std::string& name : names) {
        line += " \"" + AsName(name) + "\"";
        expected += name + "|";
    }
    EXPECT_EQ(Run(line + " > out.txt"), 0);
    EXPECT_EQ(ReadFile(dir() / "out.txt"), expected);
}

TEST_F(ShellCommands, SlashCStripsTheOuterQuotes) {
    EXPECT_EQ(Run(R"(cmd.exe /c "echo "a b" > "x y.txt"")"), 0);
    EXPECT_EQ(ReadFile(dir() / "x y.txt"), "\"a b\" \n");
    // The inner interpreter has its own folder.
    fs::create_directory(dir() / "in");
    Run(R"(cmd /c "cd /d in" & echo z > where.txt)");
    EXPECT_TRUE(fs::exists(dir() / "where.txt"));
    // Exactly two quotes around a program name with a blank: kept.
    InstallProbe(dir(), "my prog");
    EXPECT_EQ(Run(R"(cmd /c "my prog.exe" > kept.txt)"), 0);
    EXPECT_EQ(ReadFile(dir() / "kept.txt"), "");
}

TEST_F(ShellCommands, StartRunsASecondInterpreterWithoutWaiting) {
    InstallProbe(dir(), "sleep");
    auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(R"(start "" /b cmd.exe /c "sleep.exe --sleep-ms 1000 && echo 1 > "done.dat"")"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(800));
    EXPECT_FALSE(fs::exists(dir() / "done.dat"));
    EXPECT_TRUE(WaitForFile(dir() / "done.dat", std::chrono::seconds(10)));
    // "&&" inside the background line: a failure stops it.
    Run(R"(start "" /b cmd.exe /c "copy nothing x && echo 1 > "never.dat"" & echo 1 > "mark.dat")");
    EXPECT_TRUE(WaitForFile(dir() / "mark.dat", std::chrono::seconds(10)));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(dir() / "never.dat"));
}

TEST_F(ShellCommands, ExpandTakesTheCabinetsFilesOutWhole) {
    fs::copy_file(FromUtf8(LIB_WIN), dir() / "lib.win");
    fs::create_directories(dir() / "all files");
    EXPECT_EQ(Run(R"(expand "lib.win" -f:* "all files")"), 0);
    EXPECT_EQ(Listing(dir() / "all files"), "dd.exe ffmpeg.exe tuner.head vgaudiocli.exe xxd.exe");
    EXPECT_EQ(ReadFile(dir() / "all files/vgaudiocli.exe"), ReadFile(FromUtf8(LIBWIN_DIR "/vgaudiocli.exe")));
    fs::create_directories(dir() / "head");
    EXPECT_EQ(Run(R"(expand "lib.win" -F:*.HEAD "head")"), 0);
    EXPECT_EQ(Listing(dir() / "head"), "tuner.head");
    WriteFile(dir() / "broken.win", "MSCF but not really a cabinet");
    EXPECT_NE(Run(R"(expand "broken.win" -f:* "head")"), 0);
}
