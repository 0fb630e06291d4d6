// Input as a backend receives it, gathered for the runtime's once-a-frame snapshot. Both backends
// use it, so the rules about modal waits are the same on the desktop and under test.
#pragma once
#include "platform/Platform.h"
#include <bitset>

class InputCollector {
  public:
    void PointerAt(int windowX, int windowY);
    // 1 left, 2 right, 3 middle; other buttons are ignored.
    void ButtonDown(int button);
    void ButtonUp(int button);
    void Wheel(int steps); // positive: away from the user
    // Keys by the runtime's key codes; codes outside 1-255 are ignored.
    void KeyDown(int key);
    void KeyUp(int key);

    // While the program is blocked in a modal wait, clicks, keys and wheel steps are dropped; when the
    // wait ends nothing counts as held and the next snapshot starts afresh.
    void BeginModalWait();
    void EndModalWait(); // calls `waitEnded` when the outermost wait ends
    std::function<void()> waitEnded;
    bool InModalWait() const { return modalDepth_ > 0; }

    InputState Take();

  private:
    InputState state_;
    // Keys held at any moment since the last Take: a modifier let go before the next frame, just
    // after its key went down, still counts as held with it (Ctrl+O typed fast).
    std::bitset<256> heldSinceTake_;
    int modalDepth_ = 0;
};

// A modal wait for as long as it lives.
class ModalWaitScope {
  public:
    explicit ModalWaitScope(InputCollector& input) : input_(input) { input_.BeginModalWait(); }
    ~ModalWaitScope() { input_.EndModalWait(); }
    ModalWaitScope(const ModalWaitScope&) = delete;
    ModalWaitScope& operator=(const ModalWaitScope&) = delete;

  private:
    InputCollector& input_;
};
