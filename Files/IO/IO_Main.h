// Finding and reading the game data: the header pass before the window exists, and the full load.
#pragma once
#include "IO/IO_GameData.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads a whole file; false when it cannot be read.
bool IO_ReadFile(const std::string& path, std::vector<uint8_t>& out);

// The game data the runner will use: embedded bytes, or a file read into `storage`.
struct GameSource {
    const uint8_t* data = nullptr;
    size_t length = 0;
    std::string path; // the game file's name; options.ini is looked for beside it
    std::vector<uint8_t> storage;
};

// Embedded data first (its file name derived from the executable's path); otherwise "data.win" in the
// executable's folder when it exists, else `commandLineFile`. Logs "Loaded File %s(%d)" or
// "FAILED to load File %s" and the options.ini check. False when no data could be had.
bool IO_LocateGame(const uint8_t* embedded, size_t embeddedLength, const std::string& executablePath,
                   const std::string& commandLineFile, GameSource& out);

// "Get Resolution": checks the container and reads the GEN8 header only.
bool IO_ReadHeader(const uint8_t* data, size_t length, GeneralInfo& out, std::string& error);

// The full load: every chunk in file order, logged, handed to its reader. False with a message when
// the data is malformed; reading never goes outside [data, data + length).
bool IO_LoadGame(const uint8_t* data, size_t length, GameData& out, std::string& error);
