// The per-frame input snapshot as the mouse built-ins report it.
#include "Graphics_API/Graphics_API.h"
#include "graphics_fixture.h"

namespace {
constexpr double Left = 1, Right = 2, Any = -1, NoButton = 0;

class InputTest : public GraphicsTest {
  protected:
    // held, pressed, released of one button as the scripts see them.
    std::array<double, 3> Button(double button) {
        return {Real("mouse_check_button", {button}), Real("mouse_check_button_pressed", {button}),
                Real("mouse_check_button_released", {button})};
    }
    using State = std::array<double, 3>;
};

TEST_F(InputTest, PressedAndReleasedAreTrueInExactlyOneFrame) {
    platform->Press(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{1, 1, 0}));
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{1, 0, 0}));
    platform->Release(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 1}));
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
}

TEST_F(InputTest, AClickInsideOneFrameReportsBothEdges) {
    platform->Press(1);
    platform->Release(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 1, 1}));
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
    // Released and pressed again between two snapshots: held throughout, both edges seen.
    platform->Press(1);
    NextInputFrame();
    platform->Release(1);
    platform->Press(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{1, 1, 1}));
}

TEST_F(InputTest, EveryCallerInAFrameGetsTheSameAnswer) {
    platform->SetPointer(10, 12);
    NextInputFrame();
    // Input arriving during the frame waits for the next snapshot.
    platform->Press(1);
    platform->SetPointer(30, 32);
    platform->TurnWheel(1);
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
    EXPECT_EQ(Real("mouse_wheel_up", {}), 0);
    EXPECT_EQ(Real("window_mouse_get_x", {}), 10);
    EXPECT_EQ(Variable("mouse_y").AsReal(), 12);
    NextInputFrame();
    for (int caller = 0; caller < 3; ++caller) {
        EXPECT_EQ(Button(Left), (State{1, 1, 0}));
        EXPECT_EQ(Real("device_mouse_check_button_pressed", {0.0, Left}), 1);
        EXPECT_EQ(Real("window_mouse_get_x", {}), 30);
    }
    // Device 0 is the mouse; there is no other.
    EXPECT_EQ(Real("device_mouse_check_button_pressed", {1.0, Left}), 0);
}

TEST_F(InputTest, WheelStepsShowInTheFrameTheyHappenedIn) {
    platform->TurnWheel(2);
    NextInputFrame();
    EXPECT_EQ(Real("mouse_wheel_up", {}), 1);
    EXPECT_EQ(Real("mouse_wheel_down", {}), 0);
    platform->TurnWheel(-1);
    NextInputFrame();
    EXPECT_EQ(Real("mouse_wheel_up", {}), 0);
    EXPECT_EQ(Real("mouse_wheel_down", {}), 1);
    NextInputFrame();
    EXPECT_EQ(Real("mouse_wheel_down", {}), 0);
}

TEST_F(InputTest, AnyAndNoButton) {
    NextInputFrame();
    EXPECT_EQ(Button(NoButton)[0], 1);
    platform->Press(2);
    NextInputFrame();
    EXPECT_EQ(Button(Any), (State{1, 1, 0}));
    EXPECT_EQ(Button(NoButton)[0], 0);
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
    EXPECT_EQ(Button(Right), (State{1, 1, 0}));
}

TEST_F(InputTest, ClearingForgetsHeldButtonsAndPendingEdges) {
    platform->Press(1);
    NextInputFrame();
    Input_Clear();
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
    // The release of a button the runtime no longer counts as held is no edge.
    platform->Release(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
}

TEST_F(InputTest, WindowAndScreenPositions) {
    int windowX = 0, windowY = 0;
    platform->WindowPosition(windowX, windowY);
    EXPECT_EQ(Real("window_get_x", {}), windowX);
    Call("window_set_position", {15.0, 25.0});
    EXPECT_EQ(Real("window_get_x", {}), 15);
    EXPECT_EQ(Real("window_get_y", {}), 25);
    EXPECT_EQ(Real("window_get_width", {}), WindowWidth);
    // The screen pointer is read at the call; the window pointer at the snapshot.
    platform->SetScreenPointer(115, 45);
    EXPECT_EQ(Real("display_mouse_get_x", {}), 115);
    EXPECT_EQ(Real("display_mouse_get_y", {}), 45);
    NextInputFrame();
    EXPECT_EQ(Real("window_mouse_get_x", {}), 100);
    EXPECT_EQ(Real("window_mouse_get_y", {}), 20);
    platform->SetFocus(false);
    EXPECT_EQ(Real("window_has_focus", {}), 0);
    Call("window_set_cursor", {-21.0});
    EXPECT_EQ(platform->Cursor(), -21);
}
} // namespace
