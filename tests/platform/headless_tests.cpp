// The backend of runs without a display: whatever shared code asks of it, nothing waits for a user.
#include "platform/headless/Headless_Platform.h"
#include <gtest/gtest.h>

TEST(Headless, DialogsAreCancelledQuestionsAnsweredNoAndBoxesGoToStderr) {
    HeadlessPlatform platform;
    EXPECT_FALSE(platform.CreateWindow(WindowRequest{384, 192, true, false, "Tuner"}));
    EXPECT_EQ(nullptr, platform.Renderer());
    EXPECT_EQ("", platform.OpenFileDialog("Containers|*.sab", "", "/tmp", "Import"));
    EXPECT_EQ("", platform.SaveFileDialog("WAV|*.wav", "track", "/tmp", "Export"));
    testing::internal::CaptureStderr();
    platform.ShowMessage("Replace complete.", "Tuner");
    const bool yes = platform.ShowQuestion("Restore the original?", "Tuner");
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(yes);
    EXPECT_NE(std::string::npos, printed.find("Tuner: Replace complete.\n"));
    EXPECT_NE(std::string::npos, printed.find("Restore the original?"));
    bool ran = false;
    platform.RunBlocking([&] { ran = true; });
    EXPECT_TRUE(ran);
}
