#include "Graphics/Graphics_Input.h"
#include "Graphics/Graphics_Window.h"
#include "Graphics_API/Graphics_API.h"
#include "platform/Platform.h"
#include <array>

namespace {
constexpr int ButtonCount = 4; // index 0 unused, as in the platform's snapshot

struct Snapshot {
    std::array<bool, ButtonCount> held{}, pressed{}, released{};
    bool wheelUp = false, wheelDown = false;
    int mouseX = 0, mouseY = 0;
    double roomX = 0, roomY = 0;
};

Snapshot current;

// -1 asks about any button, 0 about none, 1-3 about that one.
bool Ask(const std::array<bool, ButtonCount>& states, int button, bool noneMeansNoneSet) {
    if (button >= 1 && button < ButtonCount)
        return states[size_t(button)];
    const bool any = states[1] || states[2] || states[3];
    if (button == -1)
        return any;
    return button == 0 && noneMeansNoneSet && !any;
}
} // namespace

void Input_Update() {
    const InputState taken = CurrentPlatform().TakeInput();
    Snapshot next;
    for (size_t b = 1; b < ButtonCount; ++b) {
        next.held[b] = taken.buttonHeld[b];
        // An edge counts when the state changed between snapshots or when one happened in between,
        // so a press and release inside one frame reports both.
        next.pressed[b] = (next.held[b] && !current.held[b]) || taken.buttonPresses[b] > 0;
        next.released[b] = (!next.held[b] && current.held[b]) || taken.buttonReleases[b] > 0;
    }
    next.wheelUp = taken.wheelUp > 0;
    next.wheelDown = taken.wheelDown > 0;
    next.mouseX = taken.windowMouseX;
    next.mouseY = taken.windowMouseY;
    Graphics_WindowToRoom(next.mouseX, next.mouseY, next.roomX, next.roomY);
    current = next;
}

void Input_Clear() {
    CurrentPlatform().ClearInput();
    const Snapshot pointer = current;
    current = Snapshot{};
    current.mouseX = pointer.mouseX;
    current.mouseY = pointer.mouseY;
    current.roomX = pointer.roomX;
    current.roomY = pointer.roomY;
}

bool Input_ButtonHeld(int button) {
    return Ask(current.held, button, true);
}
bool Input_ButtonPressed(int button) {
    return Ask(current.pressed, button, false);
}
bool Input_ButtonReleased(int button) {
    return Ask(current.released, button, false);
}
bool Input_WheelUp() {
    return current.wheelUp;
}
bool Input_WheelDown() {
    return current.wheelDown;
}
int Input_WindowMouseX() {
    return current.mouseX;
}
int Input_WindowMouseY() {
    return current.mouseY;
}
double Input_RoomMouseX() {
    return current.roomX;
}
double Input_RoomMouseY() {
    return current.roomY;
}
