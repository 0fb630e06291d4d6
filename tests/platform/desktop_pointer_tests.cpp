// The desktop backend on a real X display (private_display.sh gives it one): the window position of
// the pointer goes on past the window's edge, where no motion reaches the window.
#include "platform/desktop/Desktop_Platform.h"
#include <chrono>
#include <gtest/gtest.h>

namespace {
constexpr int Left = 300, Top = 200, Width = 200, Height = 100;

class DesktopPointer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform.CreateWindow({Width, Height, true, false, "pointer"}));
        platform.SetWindowPosition(Left, Top);
    }
    // Moves the pointer on the desktop and takes the input once the window has seen it come or go.
    std::pair<int, int> WindowPointerAfterMoveTo(int x, int y) {
        SDL_WarpMouseGlobal(x, y);
        const bool inside = x >= Left && x < Left + Width && y >= Top && y < Top + Height;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        do {
            platform.PumpMessages();
        } while ((SDL_GetMouseFocus() != nullptr) != inside && std::chrono::steady_clock::now() < deadline);
        const InputState input = platform.TakeInput();
        return {input.windowMouseX, input.windowMouseY};
    }
    DesktopPlatform platform;
};

TEST_F(DesktopPointer, OutsideTheWindowItIsTheDesktopPointerMinusTheWindowPosition) {
    EXPECT_EQ(WindowPointerAfterMoveTo(350, 250), std::make_pair(50, 50));
    EXPECT_EQ(WindowPointerAfterMoveTo(100, 120), std::make_pair(-200, -80));
    EXPECT_EQ(WindowPointerAfterMoveTo(700, 500), std::make_pair(400, 300));
    EXPECT_EQ(WindowPointerAfterMoveTo(310, 220), std::make_pair(10, 20));
}
} // namespace
