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

TEST_F(InputTest, EdgesBetweenTwoSnapshotsAreShownOneAFrame) {
    // A tap: a press in one frame, the release in the next.
    platform->Press(1);
    platform->Release(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{1, 1, 0}));
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 1}));
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
    // Released and pressed again while held: the release first, then the press.
    platform->Press(1);
    NextInputFrame();
    platform->Release(1);
    platform->Press(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 1}));
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{1, 1, 0}));
    // A burst keeps at most two clicks waiting, and ends in the state the button is really in.
    platform->Release(1);
    NextInputFrame();
    for (int click = 0; click < 5; ++click) {
        platform->Press(1);
        platform->Release(1);
    }
    int presses = 0;
    for (int frame = 0; frame < 8; ++frame) {
        NextInputFrame();
        presses += int(Button(Left)[1]);
    }
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
}

TEST_F(InputTest, NothingDoneDuringAModalWaitReachesTheNextStep) {
    platform->Press(1);
    NextInputFrame();
    // Held before a command line; released, clicked and wheeled while it runs.
    platform->DuringNextModalWait([this] {
        platform->Release(1);
        platform->Press(1);
        platform->Release(1);
        platform->Press(2);
        platform->TurnWheel(1);
    });
    platform->RunBlocking([] {});
    NextInputFrame();
    EXPECT_EQ(Button(Any), (State{0, 0, 0}));
    EXPECT_EQ(Real("mouse_wheel_up", {}), 0);
    // The release of the right button pressed during the wait is no edge either.
    platform->Release(2);
    NextInputFrame();
    EXPECT_EQ(Button(Any), (State{0, 0, 0}));
    // A message box is a modal wait too; a click after it counts as usual.
    platform->DuringNextModalWait([this] { platform->Press(1); });
    Call("show_message", {"done"});
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{0, 0, 0}));
    platform->Release(1);
    platform->Press(1);
    NextInputFrame();
    EXPECT_EQ(Button(Left), (State{1, 1, 0}));
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
} // namespace
