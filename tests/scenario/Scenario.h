// Runs a plain-text scenario against the real tool on the scripted platform (see docs/scenarios.md).
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct ScenarioOptions {
    std::string binFolder;    // where tuner.dll, morvane-cmd and lib.win were built
    std::string sourceFolder; // ${SOURCE}: the scenario file's folder
    bool keepWorkspace = false;
    // The runtime's own way (no frame after a quiet one until something arrives), or every frame.
    bool skipQuietFrames = true;
    std::string root;      // the workspace's folder; "" makes a new one
    std::string tracePath; // "" or a file that gets a line per step: what the tool's state was then
};

// Runs every line; failed expectations are written to `report`. Returns the number of failures
// (a line that cannot be parsed counts as one and stops the run).
int RunScenario(const std::string& path, const ScenarioOptions& options, std::ostream& report);
int RunScenarioText(std::istream& in, const ScenarioOptions& options, std::ostream& report);

// The trace lines that differ between two runs of a scenario, as a report; "" when none do.
std::string CompareTraces(const std::string& one, const std::string& other);

// A scenario of random input over the running tool (pointer moves, clicks, keys, the wheel, focus,
// drops, hand-overs and long pauses), the same for the same seed.
std::string RandomScenario(uint64_t seed, int steps);
