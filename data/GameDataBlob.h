// The game data file carried inside the executable (written at build time by tools/gamedata).
#pragma once

extern "C" {
extern const unsigned char kGameData[];
extern const unsigned long kGameDataSize;
}
