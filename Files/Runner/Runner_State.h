// Runtime-wide facts other modules read: the loaded data, timing, the command line.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct GameData;

const GameData& Runner_Data();
void Runner_SetData(const GameData* data);

// Microseconds between the last two steps.
int64_t Runner_DeltaTime();
void Runner_SetDeltaTime(int64_t micros);

// The command line as given (argv[1..]).
const std::vector<std::string>& Runner_Arguments();
void Runner_SetArguments(std::vector<std::string> arguments);
bool Runner_HasOption(const std::string& option);
