#include "Graphics/Graphics_Input.h"
#include "Graphics/Graphics_Window.h"
#include "Graphics_API/Graphics_API.h"
#include "platform/Platform.h"
#include <array>
#include <bitset>

namespace {
constexpr int ButtonCount = 4; // index 0 unused, as in the platform's snapshot
// Edges still to be shown, per button; beyond two clicks' worth the oldest whole clicks are dropped.
constexpr int MaxOwedEdges = 4;

struct Snapshot {
    std::array<bool, ButtonCount> held{}, pressed{}, released{};
    bool wheelUp = false, wheelDown = false;
    std::bitset<256> keyHeld, keyPressed;
    int mouseX = 0, mouseY = 0;
    double roomX = 0, roomY = 0;
};

Snapshot current;
// Edges that arrived but have not been shown yet: they alternate, starting from the held state shown.
std::array<int, ButtonCount> owed{};

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

// Each snapshot shows at most one edge per button, so a press and release that arrive together are
// seen as a press in this frame and a release in the next: every control sees a tap as a click.
bool Input_Update() {
    const InputState taken = CurrentPlatform().TakeInput();
    Snapshot next;
    for (size_t b = 1; b < ButtonCount; ++b) {
        int& edges = owed[b];
        edges += taken.buttonPresses[b] + taken.buttonReleases[b];
        while (edges > MaxOwedEdges)
            edges -= 2;
        next.held[b] = current.held[b];
        if (edges > 0) {
            next.held[b] = !next.held[b];
            --edges;
        }
        next.pressed[b] = next.held[b] && !current.held[b];
        next.released[b] = !next.held[b] && current.held[b];
    }
    next.wheelUp = taken.wheelUp > 0;
    next.wheelDown = taken.wheelDown > 0;
    // A key pressed and released between two snapshots counts as held in this one, so a quick Ctrl+O
    // still shows Ctrl held while O is pressed.
    next.keyHeld = taken.keyHeld | taken.keyPressed;
    next.keyPressed = taken.keyPressed;
    next.mouseX = taken.windowMouseX;
    next.mouseY = taken.windowMouseY;
    Graphics_WindowToRoom(next.mouseX, next.mouseY, next.roomX, next.roomY);
    const bool changed = next.held != current.held || next.pressed != current.pressed ||
                         next.released != current.released || next.wheelUp != current.wheelUp ||
                         next.wheelDown != current.wheelDown || next.keyHeld != current.keyHeld ||
                         next.keyPressed != current.keyPressed || next.mouseX != current.mouseX ||
                         next.mouseY != current.mouseY || next.roomX != current.roomX ||
                         next.roomY != current.roomY || owed != std::array<int, ButtonCount>{};
    current = next;
    return changed;
}

void Input_Reset() {
    current = Snapshot{};
    owed = {};
}

void Input_Forget() {
    current.held = current.pressed = current.released = {};
    current.wheelUp = current.wheelDown = false;
    current.keyHeld.reset();
    current.keyPressed.reset();
    owed = {};
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
bool Input_KeyHeld(int key) {
    return key >= 0 && key < 256 && current.keyHeld.test(size_t(key));
}
bool Input_KeyPressed(int key) {
    return key >= 0 && key < 256 && current.keyPressed.test(size_t(key));
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
