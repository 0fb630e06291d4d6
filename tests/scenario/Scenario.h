// Runs a plain-text scenario against the real tool on the scripted platform (see docs/scenarios.md).
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

struct ScenarioOptions {
    std::string binFolder;    // where tuner.dll, morvane-cmd and lib.win were built
    std::string sourceFolder; // ${SOURCE}: the scenario file's folder
    bool keepWorkspace = false;
};

// Runs every line; failed expectations are written to `report`. Returns the number of failures
// (a line that cannot be parsed counts as one and stops the run).
int RunScenario(const std::string& path, const ScenarioOptions& options, std::ostream& report);
