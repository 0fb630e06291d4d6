// What the window shows while a command line keeps the frame loop waiting: the last frame again,
// with a note over one box of it saying what is happening.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct BusyNote {
    std::string text;                        // "Importing bgm_01.sab…"
    int x = 0, y = 0, width = 0, height = 0; // the box, in window pixels
    uint32_t background = 0;                 // colours as the draw functions take them
    uint32_t colour = 0xFFFFFF;
    std::function<int()> percent; // done so far, or -1 when it cannot be told
};

// Long waits from now on show `note`, until it is cleared.
void BusyNote_Set(BusyNote note);
void BusyNote_Clear();
// A wait has gone on long enough to say so: the last frame is shown again with the note.
void BusyNote_Repaint();
