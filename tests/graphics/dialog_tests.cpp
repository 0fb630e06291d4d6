// File dialogs and boxes answered from the scripted platform's queues.
#include "platform/Dialog_Filter.h"
#include "Support/Win32/Support_FileM.h"
#include "graphics_fixture.h"
#include <filesystem>
#include <fstream>

namespace {
namespace fs = std::filesystem;

const char* const ExportFilter =
    "MP3 Audio (*.mp3)|*.mp3|OGG Vorbis (*.ogg)|*.ogg|WAV PCM (*.wav)|*.wav|All (*.*)|*.*";
const char* const ContainerFilter = "Halcyon Audio (*.sab, *.mab)|*.sab;*.mab";

class DialogTest : public GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        FileM_ClearChosen();
        folder = fs::temp_directory_path() / ("morvane-dialogs-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        FileM_SetSaveArea((folder / "save").string() + "/");
        FileM_SetProgramFolder((folder / "program").string() + "/");
    }
    void TearDown() override {
        fs::remove_all(folder);
        GraphicsTest::TearDown();
    }
    std::string MakeFile(const char* name) {
        const fs::path path = folder / name;
        std::ofstream(path) << "x";
        return path.string();
    }
    RValue Ask(const char* function, const char* filter, const char* name, const char* title) {
        return Call(function, {filter, name, folder.string(), title});
    }

    fs::path folder;
};

TEST_F(DialogTest, OpenDialogReturnsThePickedFileAndAllowsReadingIt) {
    const std::string picked = MakeFile("bgm 01 & co.sab");
    platform->QueueOpenAnswer(picked);
    EXPECT_EQ(std::string(Ask("get_open_filename_ext", ContainerFilter, "", "Choose").Text()), picked);
    EXPECT_EQ(platform->Dialogs().at(0).folder, folder.string());
    EXPECT_EQ(FileM_ResolveRead(picked), picked);
}

TEST_F(DialogTest, CancelledDialogsReturnEmptyAndKeepTheCurrentFolder) {
    const fs::path before = fs::current_path();
    EXPECT_EQ(std::string(Ask("get_open_filename_ext", ContainerFilter, "", "t").Text()), "");
    EXPECT_EQ(std::string(Ask("get_save_filename_ext", ExportFilter, "audio.mp3", "t").Text()), "");
    EXPECT_TRUE(platform->Dialogs()[0].unanswered);
    EXPECT_EQ(fs::current_path(), before);
    // The open dialog never returns a file that does not exist.
    platform->QueueOpenAnswer((folder / "missing.sab").string());
    EXPECT_EQ(std::string(Ask("get_open_filename_ext", ContainerFilter, "", "t").Text()), "");
}

TEST_F(DialogTest, SaveDialogAddsTheFiltersExtensionAndAllowsWritingThere) {
    platform->QueueSaveAnswer((folder / "mix").string());
    const std::string chosen(Ask("get_save_filename_ext", ExportFilter, "audio.mp3", "Export").Text());
    EXPECT_EQ(chosen, (folder / "mix.mp3").string());
    EXPECT_EQ(FileM_ResolveWrite(chosen), chosen);
    EXPECT_FALSE(platform->Dialogs()[0].overwritePrompted);
    // An existing target is confirmed first.
    platform->QueueSaveAnswer(MakeFile("old.ogg"));
    Ask("get_save_filename_ext", ExportFilter, "audio.mp3", "Export");
    EXPECT_TRUE(platform->Dialogs()[1].overwritePrompted);
}

TEST_F(DialogTest, MessagesAndQuestionsCarryTheWindowCaption) {
    platform->SetCaption("Morvane Radio Tuner");
    Call("show_message", {"Export complete."});
    Call("show_message", {42.0});
    platform->QueueQuestionAnswer(true);
    platform->QueueQuestionAnswer(false);
    EXPECT_EQ(Real("show_question", {"Restore original file?"}), 1);
    EXPECT_EQ(Real("show_question", {"Restore original file?"}), 0);
    ASSERT_EQ(platform->Boxes().size(), 4u);
    EXPECT_EQ(platform->Boxes()[0].text, "Export complete.");
    EXPECT_EQ(platform->Boxes()[0].caption, "Morvane Radio Tuner");
    EXPECT_EQ(platform->Boxes()[1].text, "42");
    EXPECT_TRUE(platform->Boxes()[2].question);
    EXPECT_EQ(platform->Boxes()[3].caption, "Morvane Radio Tuner");
}

TEST(DialogFilter, PairsPatternsAndTheDefaultExtension) {
    const auto entries = Dialog_ParseFilter(ContainerFilter);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].label, "Halcyon Audio (*.sab, *.mab)");
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.sab", "*.mab"}));
    EXPECT_EQ(Dialog_ParseFilter(ExportFilter).size(), 4u);
    EXPECT_EQ(Dialog_DefaultExtension(ExportFilter), "mp3");
    EXPECT_EQ(Dialog_DefaultExtension("All|*.*"), "*");
    EXPECT_EQ(Dialog_DefaultExtension("no bar"), "");
    EXPECT_EQ(Dialog_WithDefaultExtension("/a.b/song", "mp3"), "/a.b/song.mp3");
    EXPECT_EQ(Dialog_WithDefaultExtension("/a/song.wav", "mp3"), "/a/song.wav");
    EXPECT_EQ(Dialog_WithDefaultExtension("/a/song", "*"), "/a/song");
}
} // namespace
