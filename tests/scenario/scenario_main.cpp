// scenario-runner <file.scn> [--keep]: runs a scenario, prints each failed expectation, exits non-zero on
// any.
#include "Runner/Runner_Log.h"
#include "Scenario.h"
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: scenario-runner <file.scn> [--keep] [--log]\n";
        return 2;
    }
    ScenarioOptions options;
    options.binFolder = std::filesystem::path(argv[0]).parent_path().string();
    options.sourceFolder = std::filesystem::absolute(argv[1]).parent_path().string();
    bool showLog = false;
    for (int i = 2; i < argc; ++i) {
        options.keepWorkspace |= std::strcmp(argv[i], "--keep") == 0;
        showLog |= std::strcmp(argv[i], "--log") == 0;
    }
    Runner_SetLogToStderr(showLog);
    // Sound goes to OpenAL's null device: voices play in real time, nothing reaches a speaker.
    setenv("ALSOFT_DRIVERS", "null", 0);
    int failures = RunScenario(argv[1], options, std::cout);
    std::cout << argv[1] << ": " << (failures == 0 ? "passed" : std::to_string(failures) + " failed") << "\n";
    return failures == 0 ? 0 : 1;
}
