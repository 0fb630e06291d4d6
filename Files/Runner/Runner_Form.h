// Start-up, the frame loop and the end of the program.
#pragma once
#include <functional>
#include <string>
#include <vector>

class Platform;
struct EmbeddedGame;

struct RunnerConfig {
    std::vector<std::string> arguments; // the command line after the program name
    std::string programFolder;          // the executable's folder; empty: found from the executable
    std::vector<std::string> openFiles; // containers to import once the splash is over (open with)
    // After a quiet frame no frame runs until something arrives (see Runner_Quiet.h); false: a frame
    // every period whatever happens, as does MORVANE_EVERY_FRAME=1 in the environment.
    bool skipQuietFrames = true;
};

// Everything up to entering the loop ("Run_Start" and the focus). False when start-up failed.
bool Runner_Start(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform);
// One frame. False once the loop has stopped (game end, quit message or a fatal error).
bool Runner_Frame();
// Ends the game (Room End, Clean Up, Game End), releases everything; the program's exit code.
int Runner_Finish();
// Without a window, audio or room, on a backend with no display: the game loaded and its global init
// scripts run, then `work`. Returns work's result, or the exit code of a fatal error (1 when the game
// could not be loaded).
int Runner_RunWithoutWindow(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform,
                            const std::function<int()>& work);
// The whole program: start, frames while running, finish.
int Runner_Main(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform);
