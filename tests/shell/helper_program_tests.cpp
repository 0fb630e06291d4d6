// xxd.exe's dump layout and tuner.head.
#include "shell_test_support.h"
#include "tuner_head.h"
#include "xxd_dump.h"
#include <gtest/gtest.h>

TEST(XxdDump, SevenDigitOffsetAndGroupsOfTwoBytes) {
    std::string bytes("HCA\0\x02\0 ~\x7f\x80\xff", 11);
    EXPECT_EQ(DumpLine(0x7F0, bytes, true),
              "00007F0: 4843 4100 0200 207E 7F80 FF" + std::string(14, ' ') + "HCA... ~...\n");
    EXPECT_EQ(DumpLine(0x7F0, bytes, false).substr(0, 29), "00007f0: 4843 4100 0200 207e ");
    EXPECT_EQ(DumpLine(0x10000000, std::string(16, 'a'), true),
              "10000000: 6161 6161 6161 6161 6161 6161 6161 6161  aaaaaaaaaaaaaaaa\n");
}

TEST(XxdDump, ProgramHonoursTheLimit) {
    TempFolder folder;
    WriteFile(folder.path() / "in.bin", std::string(40, 'z'));
    fs::copy_file(FromUtf8(LIBWIN_DIR "/xxd.exe"), folder.path() / "xxd.exe");
    EXPECT_EQ(RunLine(R"(xxd.exe -u -l 0x12 "in.bin" > "out.txt")", folder.path()), 0);
    std::string dump = DumpLine(0, std::string(16, 'z'), true) + DumpLine(16, "zz", true);
    std::string lines;
    for (char c : dump) {
        lines += c == '\n' ? std::string(TextLineEnd) : std::string(1, c);
    }
    EXPECT_EQ(ReadFile(folder.path() / "out.txt"), lines);
    EXPECT_NE(RunLine(R"(xxd.exe -u "missing" > "out.txt")", folder.path()), 0);
    EXPECT_EQ(ReadFile(folder.path() / "out.txt"), "");
}

TEST(TunerHead, HoldsNeitherSignatureAtAnyPosition) {
    std::string head = MakeTunerHead();
    EXPECT_EQ(head.size(), 576u);
    EXPECT_EQ(head.size() % 16, 0u);
    EXPECT_EQ(head.find(std::string("HCA\0\x02\0", 6)), std::string::npos);
    EXPECT_EQ(head.find(std::string("OggS\0\x02\0\0\0\0", 10)), std::string::npos);
    EXPECT_EQ(ReadFile(FromUtf8(LIBWIN_DIR "/tuner.head")), head);
}
