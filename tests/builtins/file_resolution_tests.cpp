#include "Support/Win32/Support_FileM.h"
#include "builtin_test_support.h"
#include <cstdlib>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
using Resolution = FileAreaTest;

// Sets or unsets an environment variable for the scope, then puts the old value back.
class EnvironmentScope {
  public:
    EnvironmentScope(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        hadValue_ = old != nullptr;
        oldValue_ = hadValue_ ? old : "";
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvironmentScope() { hadValue_ ? setenv(name_, oldValue_.c_str(), 1) : unsetenv(name_); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

  private:
    const char* name_;
    bool hadValue_;
    std::string oldValue_;
};
} // namespace

TEST(AppData, FallsBackFromAppDataToXdgToHome) {
    EnvironmentScope home("HOME", "/home/tester");
    {
        EnvironmentScope appData("APPDATA", "/data/roaming");
        EnvironmentScope xdg("XDG_DATA_HOME", "/data/xdg");
        EXPECT_EQ("/data/roaming", FileM_DefaultAppData());
    }
    {
        EnvironmentScope appData("APPDATA", nullptr);
        EnvironmentScope xdg("XDG_DATA_HOME", "/data/xdg");
        EXPECT_EQ("/data/xdg", FileM_DefaultAppData());
        EnvironmentScope emptyXdg("XDG_DATA_HOME", "");
        EXPECT_EQ("/home/tester/.local/share", FileM_DefaultAppData());
    }
    EXPECT_EQ("/data/roaming/Morvane_Radio_Tuner/", FileM_SaveAreaIn("/data/roaming"));
}

TEST_F(Resolution, RelativeNamesLandInTheSaveArea) {
    EXPECT_EQ(save_.string() + "/", FileM_SaveArea());
    EXPECT_EQ((save_ / "lib/temp.head").string(), FileM_ResolveWrite("lib\\temp.head"));
    EXPECT_EQ((save_ / "lib/stream.ogg").string(), FileM_ResolveWrite("lib/stream.ogg"));
    // Until the file exists there, reading looks beside the program.
    EXPECT_EQ((program_ / "lib/temp.head").string(), FileM_ResolveExisting("lib\\temp.head"));
    WriteFile(save_ / "lib/temp.head", "dump");
    EXPECT_EQ((save_ / "lib/temp.head").string(), FileM_ResolveExisting("lib\\temp.head"));
}

TEST_F(Resolution, RelativeNamesThatClimbOutAreRefused) {
    LogCapture log;
    WriteFile(outside_ / "secret.txt", "secret");
    EXPECT_EQ("", FileM_ResolveWrite("lib\\..\\..\\..\\outside\\secret.txt"));
    EXPECT_EQ("", FileM_ResolveWrite("..\\secret.txt"));
    EXPECT_NE(
        std::string::npos,
        log.Text().find("Error! not allowing save with filename 'lib\\..\\..\\..\\outside\\secret.txt'\n"));
    // Reading from the current folder upwards leaves both allowed folders.
    EXPECT_EQ("", FileM_ResolveExisting("..\\outside\\secret.txt"));
    EXPECT_EQ("", FileM_ResolveExisting("../../../../../../etc/passwd"));
    // ".." that stays inside the save area is still refused for writing.
    EXPECT_EQ("", FileM_ResolveWrite("lib\\..\\x.txt"));
}

TEST_F(Resolution, LinksCannotLeadOutOfTheAllowedFolders) {
    WriteFile(outside_ / "secret.txt", "secret");
    fs::create_directory_symlink(outside_, save_ / "lib" / "link");
    fs::create_directory_symlink(outside_, program_ / "link");
    LogCapture log;
    EXPECT_EQ("", FileM_ResolveWrite("lib\\link\\secret.txt"));
    EXPECT_FALSE(FileM_IsFile(FileM_ResolveExisting("lib\\link\\secret.txt")));
    EXPECT_EQ("", FileM_ResolveRead((program_ / "link/secret.txt").string()));
    EXPECT_EQ("", FileM_ResolveExisting((save_ / "lib/link/secret.txt").string()));
}

TEST_F(Resolution, FullPathsInsideTheSaveAreaWork) {
    std::string inside = (save_ / "lib/source.wav").string();
    EXPECT_EQ(inside, FileM_ResolveWrite(inside));
    WriteFile(inside, "RIFF");
    EXPECT_EQ(inside, FileM_ResolveExisting(inside));
}

TEST_F(Resolution, UnpickedFullPathsOutsideAreRefused) {
    std::string target = (outside_ / "song.mp3").string();
    WriteFile(target, "ID3");
    LogCapture log;
    EXPECT_EQ("", FileM_ResolveWrite(target));
    EXPECT_EQ("", FileM_ResolveRead(target));
    EXPECT_EQ("", FileM_ResolveExisting(target));
    EXPECT_EQ("", FileM_ResolveRead("/etc/passwd"));
    EXPECT_NE(std::string::npos,
              log.Text().find("Error! not allowing save with filename '" + target + "'\n"));
}

TEST_F(Resolution, PickedPathsAreUsedForTheirOwnDirectionOnly) {
    std::string opened = (outside_ / "song.mp3").string();
    std::string saved = (outside_ / "export.ogg").string();
    FileM_AddChosenForReading(opened);
    FileM_AddChosenForWriting(saved);
    LogCapture log;
    EXPECT_EQ(opened, FileM_ResolveRead(opened));
    EXPECT_EQ("", FileM_ResolveWrite(opened));
    EXPECT_EQ(saved, FileM_ResolveWrite(saved));
    EXPECT_EQ("", FileM_ResolveRead(saved));
    // A sibling of a picked file is not picked.
    EXPECT_EQ("", FileM_ResolveRead((outside_ / "other.mp3").string()));
}

TEST_F(Resolution, PickedPathsBelowTheCurrentFolderAreTakenAsTheyAre) {
    std::string picked = (current_ / "lib/stream.ogg").string();
    WriteFile(picked, "picked");
    // The save area holds a namesake that a redirected write would reach.
    WriteFile(save_ / "lib/stream.ogg", "scratch");
    FileM_AddChosenForReading(picked);
    EXPECT_EQ(picked, FileM_ResolveRead(picked));
    EXPECT_EQ(picked, FileM_ResolveExisting(picked));
}

TEST_F(Resolution, ProgramFolderIsReadableAndWritesThereGoToTheSaveArea) {
    std::string marker = program_.string() + "\\temp.dat";
    EXPECT_EQ((program_ / "temp.dat").string(), FileM_ResolveRead(marker));
    LogCapture log;
    EXPECT_EQ((save_ / "temp.dat").string(), FileM_ResolveWrite(marker));
    EXPECT_NE(std::string::npos, log.Text().find("Warning! Save location - redirected to: '" +
                                                 (save_ / "temp.dat").string() + "'\n"));
}

TEST_F(Resolution, CurrentFolderIsReRootedAtTheProgramFolder) {
    EXPECT_EQ((program_ / "data.win").string(), FileM_ResolveRead("data.win"));
    EXPECT_EQ((program_ / "sub/a.txt").string(), FileM_ResolveRead((current_ / "sub/a.txt").string()));
}
