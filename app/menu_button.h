// What the six menu buttons share: start values, hover/press/release tracking, fading and drawing.
#pragma once
#include "app/Tool_Code.h"

namespace tool {
void menu_button_create(const char* label);

// A button's key: a key code pressed while exactly these modifiers are held.
struct Shortcut {
    int key;
    bool control = false;
    bool shift = false;
};
bool shortcut_pressed(const Shortcut& shortcut);

// The common part of a button's Step; true when a click, or the button's key, completed in this Step
// (btn_release is 1). `switchable`: the button has btn_active and is hidden and inert while it is 0.
bool menu_button_step(bool switchable, const Shortcut& shortcut);
void menu_button_draw(bool switchable);
// The label centred in the instance's sprite box in the skin's font and colour; afterwards the draw
// state is back to white, left/top and opaque for the other objects (buttons and the status line).
void draw_centred_label(const RValue& text);

// Stops and frees the preview stream and deletes "stream.ogg" (Import, Replace and Restore do this first).
void release_preview();
} // namespace tool
