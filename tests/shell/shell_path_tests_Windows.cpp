// Windows paths: roots of every form keep their separator, "\x" is on the current folder's drive.
#include "Shell_FileSystem.h"
#include <gtest/gtest.h>

using namespace shell;

TEST(WindowsPaths, RootsParentsAndJoins) {
    EXPECT_EQ(RootLength(R"(C:\x)"), 3u);
    EXPECT_EQ(RootLength("C:x"), 2u);
    EXPECT_EQ(RootLength(R"(\\server\share\x)"), 15u);
    EXPECT_EQ(RootLength(R"(\\?\C:\x)"), 7u);
    EXPECT_EQ(RootLength(R"(\\?\UNC\server\share\x)"), 21u);
    EXPECT_EQ(RootLength("x/y"), 0u);
    EXPECT_EQ(ParentFolder(R"(C:\x)"), R"(C:\)");
    EXPECT_EQ(ParentFolder(R"(\\server\share\x)"), R"(\\server\share\)");
    EXPECT_EQ(ParentFolder("C:/a/b"), "C:/a");
    EXPECT_EQ(BaseName(R"(C:\a/b)"), "b");
    EXPECT_EQ(Absolute(R"(D:\work)", "a.txt"), R"(D:\work\a.txt)");
    EXPECT_EQ(Absolute(R"(D:\)", "a.txt"), R"(D:\a.txt)");
    EXPECT_EQ(Absolute(R"(D:\work)", R"(\a.txt)"), R"(D:\a.txt)");
    EXPECT_EQ(Absolute(R"(\\server\share\work)", R"(\a.txt)"), R"(\\server\share\a.txt)");
    EXPECT_EQ(Absolute(R"(D:\work)", R"(E:\a.txt)"), R"(E:\a.txt)");
}
