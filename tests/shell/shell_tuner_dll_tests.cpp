// RunSilent of tuner.dll, loaded and called as the runtime's external_define and external_call do.
#include "Support/Win32/Support_System.h"
#include "shell_test_support.h"
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

using RunSilentFunction = double (*)(const char*, const char*);

struct LibraryCloser {
    void operator()(void* module) const { System_FreeLibrary(module); }
};

class TunerDll : public testing::Test {
  protected:
    void SetUp() override {
        module_.reset(System_LoadLibrary(TUNER_DLL));
        ASSERT_TRUE(module_);
        runSilent_ = reinterpret_cast<RunSilentFunction>(System_FindFunction(module_.get(), "RunSilent"));
        ASSERT_NE(runSilent_, nullptr);
        saveArea_ = folder_.path() / "Morvane_Radio_Tuner";
        fs::create_directories(saveArea_);
        ::setenv("APPDATA", Utf8(folder_.path()).c_str(), 1);
    }

    std::unique_ptr<void, LibraryCloser> module_;
    RunSilentFunction runSilent_ = nullptr;
    TempFolder folder_;
    fs::path saveArea_;
};

} // namespace

TEST_F(TunerDll, RunsTheLineAndReturnsWhenItHasFinished) {
    InstallProbe(saveArea_, "sleep");
    std::string line =
        R"(cd /d "%APPDATA%\Morvane_Radio_Tuner" & sleep.exe --sleep-ms 300 & echo done > "finished.txt")";
    auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(runSilent_("", line.c_str()), 0.0);
    EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(300));
    EXPECT_EQ(ReadFile(saveArea_ / "finished.txt"), "done \n");
    EXPECT_EQ(runSilent_("", "copy nothing x"), 1.0);
}

TEST_F(TunerDll, ProgramsReadNothingAndWriteOnlyToTheLog) {
    // The copy would wait for the terminal forever if stdin were inherited.
    InstallProbe(saveArea_, "cat");
    std::string line =
        R"(cd /d "%APPDATA%\Morvane_Radio_Tuner" & cat.exe --copy-input > "copied.txt" & echo to the log)";
    EXPECT_EQ(runSilent_("", line.c_str()), 0.0);
    EXPECT_EQ(ReadFile(saveArea_ / "copied.txt"), "");
    std::string log = ReadFile(saveArea_ / "shell.log");
    EXPECT_NE(log.find("> " + line), std::string::npos);
    EXPECT_NE(log.find("to the log\n"), std::string::npos);
}

TEST_F(TunerDll, WithoutASaveAreaTheOutputIsDropped) {
    fs::remove_all(saveArea_);
    EXPECT_EQ(runSilent_("", R"(echo nowhere & if not exist "%APPDATA%\x" mkdir "%APPDATA%\x")"), 0.0);
    EXPECT_EQ(Listing(folder_.path()), "x");
    EXPECT_EQ(runSilent_("", nullptr), -1.0);
}
