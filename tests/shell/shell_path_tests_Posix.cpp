// POSIX paths: the command lines' '\' is the separator, '/' the only root.
#include "Shell_FileSystem.h"
#include <gtest/gtest.h>

using namespace shell;

TEST(PosixPaths, RootsParentsAndJoins) {
    EXPECT_EQ(NativePath(R"(a\b c\d)"), "a/b c/d");
    EXPECT_EQ(ParentFolder("/x"), "/");
    EXPECT_EQ(ParentFolder("/a/b"), "/a");
    // A name's backslash (decoded after the separators were made) is no separator.
    EXPECT_EQ(BaseName(R"(/a/b\c)"), R"(b\c)");
    EXPECT_EQ(Absolute("/work", "a.txt"), "/work/a.txt");
    EXPECT_EQ(Absolute("/work", "/a.txt"), "/a.txt");
}
