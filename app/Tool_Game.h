// The tool as the runtime loads it: game data, variable and function references, compiled-code table.
#pragma once
#include "Code/Code_Main.h"

// data/length may be null/0: the runtime then reads "data.win" beside the executable.
const EmbeddedGame& Tool_Game(const uint8_t* data, size_t length);
