// Batch mode's undo on the system's own terms: a file renamed over (as every copy of ours and of the
// interpreter does it) comes back byte for byte, with its mode, and leaves nothing beside it; a file made by
// the action goes, one made by another hand stays; a file written in place is not guessed back. The lock that
// marks a working folder as in use, and fresh folders.
#include "Support/Win32/Support_System.h"
#include "app/actions/action_files.h"
#include "app/batch/batch_lifetime_lock.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {
namespace fs = std::filesystem;

class BatchFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = tool::MakeFreshFolder(System_PathText(fs::temp_directory_path() / "batch-files-"));
        ASSERT_FALSE(folder_.empty());
    }
    void TearDown() override { fs::remove_all(System_Path(folder_)); }
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(System_Path(path), std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(System_Path(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // A new file renamed over the old one.
    static void ReplaceWith(const std::string& path, const std::string& bytes) {
        System_ReplacingFile file(path);
        ASSERT_NE(file.file(), nullptr);
        std::fputs(bytes.c_str(), file.file());
        ASSERT_TRUE(file.Commit());
    }
    size_t Entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(System_Path(folder_)), {}));
    }
    std::string folder_;
};
} // namespace

TEST_F(BatchFiles, AFileRenamedOverComesBackWholeAndNothingIsLeftBeside) {
#ifdef _WIN32
    const std::string container = Path("bgm 01 ü.sab");
#else
    // A name near the system's limit: the undo's own file cannot be named after it.
    const std::string container = Path(std::string(245, 'b') + " ü.sab");
#endif
    Write(container, "the original bytes");
    // Readable by the group too: a mode the undo's own new file does not start with.
    fs::permissions(System_Path(container), fs::perms::group_read, fs::perm_options::add);
    const fs::perms mode = fs::status(System_Path(container)).permissions();
    {
        tool::Snapshot before(container);
        ASSERT_TRUE(before.Existed());
        EXPECT_TRUE(before.Untouched());
        // A prefix of the original is not the original.
        ReplaceWith(container, "the original");
        EXPECT_FALSE(before.Untouched());
        EXPECT_FALSE(tool::SameContent(tool::OpenFile(container), before.Open()));
        ASSERT_TRUE(before.PutBack());
        EXPECT_EQ(Read(container), "the original bytes");
        EXPECT_EQ(fs::status(System_Path(container)).permissions(), mode);
        EXPECT_TRUE(tool::SameContent(tool::OpenFile(container), before.Open()));
    }
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(BatchFiles, OnlyTheFileTheActionMadeIsRemoved) {
    const std::string made = Path("out.mp3");
    tool::Snapshot absent(made);
    EXPECT_FALSE(absent.Existed());
    Write(made, "export");
    absent.NoteCreated();
    EXPECT_TRUE(absent.PutBack());
    EXPECT_FALSE(fs::exists(System_Path(made)));

    const std::string other = Path("other.mp3");
    tool::Snapshot notMade(other);
    notMade.NoteCreated();
    Write(other, "another hand's");
    EXPECT_FALSE(notMade.PutBack());
    EXPECT_EQ(Read(other), "another hand's");
}

TEST_F(BatchFiles, AFileWrittenInPlaceIsNotGuessedBack) {
    const std::string container = Path("a.sab");
    Write(container, "the original bytes");
    tool::Snapshot before(container);
    std::ofstream(System_Path(container), std::ios::binary | std::ios::app) << " and more";
    EXPECT_FALSE(before.PutBack());
    EXPECT_EQ(Read(container), "the original bytes and more");
}

TEST_F(BatchFiles, ALifetimeLockIsAbandonedOnlyOnceLetGo) {
    const std::string path = Path("batch.lock");
    EXPECT_FALSE(batch::LifetimeLock::Abandoned(path));
    batch::LifetimeLock lock(path);
    ASSERT_TRUE(lock.Held());
    EXPECT_FALSE(batch::LifetimeLock::Abandoned(path));
    EXPECT_FALSE(batch::LifetimeLock(path).Held());
    lock.Release();
    EXPECT_TRUE(batch::LifetimeLock::Abandoned(path));
}

TEST_F(BatchFiles, FreshFoldersAreNewAndEmpty) {
    const std::string first = tool::MakeFreshFolder(Path("batch-"));
    const std::string second = tool::MakeFreshFolder(Path("batch-"));
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(fs::is_empty(System_Path(first)));
}
