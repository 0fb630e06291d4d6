#include "platform/Platform_Input.h"

namespace {
bool ValidButton(int button) {
    return button >= 1 && button <= 3;
}
bool ValidKey(int key) {
    return key >= 1 && key <= 255;
}
} // namespace

void InputCollector::PointerAt(int windowX, int windowY) {
    state_.windowMouseX = windowX;
    state_.windowMouseY = windowY;
}

void InputCollector::ButtonDown(int button) {
    if (InModalWait() || !ValidButton(button) || state_.buttonHeld[button])
        return;
    state_.buttonHeld[button] = true;
    ++state_.buttonPresses[button];
}

void InputCollector::ButtonUp(int button) {
    // A release for a button not counted as held (pressed during a wait) is no edge.
    if (InModalWait() || !ValidButton(button) || !state_.buttonHeld[button])
        return;
    state_.buttonHeld[button] = false;
    ++state_.buttonReleases[button];
}

void InputCollector::Wheel(int steps) {
    if (InModalWait())
        return;
    if (steps > 0)
        state_.wheelUp += steps;
    else
        state_.wheelDown -= steps;
}

void InputCollector::KeyDown(int key) {
    if (InModalWait() || !ValidKey(key))
        return;
    state_.keyHeld.set(size_t(key));
    state_.keyPressed.set(size_t(key));
    heldSinceTake_.set(size_t(key));
}

void InputCollector::KeyUp(int key) {
    if (ValidKey(key))
        state_.keyHeld.reset(size_t(key));
}

void InputCollector::BeginModalWait() {
    ++modalDepth_;
}

void InputCollector::EndModalWait() {
    if (--modalDepth_ > 0)
        return;
    InputState fresh;
    fresh.windowMouseX = state_.windowMouseX;
    fresh.windowMouseY = state_.windowMouseY;
    state_ = fresh;
    heldSinceTake_.reset();
    if (waitEnded)
        waitEnded();
}

InputState InputCollector::Take() {
    InputState taken = state_;
    taken.keyHeld = heldSinceTake_;
    heldSinceTake_ = state_.keyHeld;
    for (int b = 0; b < 4; ++b)
        state_.buttonPresses[b] = state_.buttonReleases[b] = 0;
    state_.wheelUp = state_.wheelDown = 0;
    state_.keyPressed.reset();
    return taken;
}
