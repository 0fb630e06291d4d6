// The window's shared libraries (SDL, OpenAL, Xlib, fontconfig, FreeType) are loaded only when a
// window opens, so that batch mode starts without them.
#pragma once
#include <string>

// Loads the window's libraries, once; what went wrong, or empty when they are ready.
const std::string& LoadWindowLibraries();
