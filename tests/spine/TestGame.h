// A stand-in for the tool in the spine's tests: the tool's objects, events and room, with code that
// records what runs.
#pragma once
#include "Code/Code_Main.h"
#include "IO/IO_GameData.h"
#include <functional>
#include <string>
#include <vector>

struct CInstance;

// The tool's 52 code ids, then spare ones tests give events of their own.
constexpr int TestCodeCount = 60;
void SetLabel(int codeId, const std::string& label);

// "obj_win Create", "obj_cleanup Step_1", ...
std::vector<std::string>& EventLog();
// Code run by an event besides logging it, keyed by the log text ("obj_win Step").
std::vector<std::pair<std::string, std::function<void(CInstance*)>>>& EventHooks();

// The tool's own data (objects, events, sprites, the room rm_main), its events labelled for the log.
GameData MakeToolLikeData();
// A code table of 52 entries in the tool's numbering whose functions log their event.
const EmbeddedGame& TestGame();
// Loads the test game into the runtime (objects, rooms, code) without a window.
void LoadTestGame(GameData& data);
