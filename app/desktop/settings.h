// What the tool remembers between runs, in the user's config folder
// ($XDG_CONFIG_HOME/morvane-radio-tuner/settings, else ~/.config/...; on Windows
// %APPDATA%\morvane-radio-tuner\settings): the volume, the window's position and the folder of the
// container imported last.
#pragma once
#include <optional>
#include <string>
#include <utility>

namespace settings {
struct Values {
    std::optional<double> volume;
    // The client area's top left corner in screen pixels, which mean the same place at any scale.
    std::optional<std::pair<int, int>> window;
    std::string importFolder; // ends with a separator
};

// Read from the file at the first call; changes made to it are written by Save.
Values& Remembered();
// Written beside the file and renamed over it, so a crash never leaves half a file.
void Save();

// The window's remembered place in room units at the scale in use now (as window_set_position takes it).
std::optional<std::pair<int, int>> WindowPlace();
// Remembers the window's place, given in room units (as window_get_x/y give it).
void RememberWindowPlace(int x, int y);

// Where the first Import dialog starts: the remembered folder, else the user's music folder, else
// home; never a hidden folder (the installed tool runs from one). Ends with a separator.
std::string ImportStartFolder();
} // namespace settings
