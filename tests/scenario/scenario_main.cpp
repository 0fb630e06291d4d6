// scenario-runner <file.scn> [--keep] [--log]: runs a scenario both ways, as the runtime runs (no frame
// after a quiet one until something arrives) and with every frame run, each in a process of its own;
// prints each failed expectation and where the two runs' states, pictures or boxes differ, and exits
// non-zero on any.
// scenario-runner --random SEED[:STEPS]: the same with a scenario of random input.
// --quiet-frames or --every-frame runs one way only (--trace FILE writes its states, --root DIR makes
// its workspace there).
#include "Runner/Runner_Log.h"
#include "Scenario.h"
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {
std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// This program again with `arguments`; its exit status (or 1 when it could not run).
int RunSelf(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::string self = fs::read_symlink("/proc/self/exe").string();
    argv.push_back(self.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return 1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// Both ways, one after the other, in the same workspace folder (so that paths kept in the state
// agree); then their traces side by side.
int RunBothWays(const std::string& scenario, bool keep, bool log) {
    std::string root = (fs::temp_directory_path() / "morvane-scenario-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) {
        std::cout << "cannot make a temporary folder\n";
        return 1;
    }
    fs::remove(root);
    const std::string quietTrace = root + ".quiet-frames.trace";
    const std::string everyTrace = root + ".every-frame.trace";
    std::vector<std::string> common = {scenario, "--root", root};
    if (keep)
        common.push_back("--keep");
    if (log)
        common.push_back("--log");
    std::cout << "-- skipping quiet frames\n" << std::flush;
    std::vector<std::string> quiet = common;
    quiet.insert(quiet.end(), {"--quiet-frames", "--trace", quietTrace});
    const int quietStatus = RunSelf(quiet);
    std::error_code error;
    if (keep) {
        fs::rename(root, root + "-quiet-frames", error);
        std::cout << "(that workspace is now " << root << "-quiet-frames)\n";
    } else {
        fs::remove_all(root, error);
    }
    std::cout << "-- every frame\n" << std::flush;
    std::vector<std::string> every = common;
    every.insert(every.end(), {"--every-frame", "--trace", everyTrace});
    const int everyStatus = RunSelf(every);
    if (!keep)
        fs::remove_all(root, error);
    const std::string differences = CompareTraces(ReadWhole(quietTrace), ReadWhole(everyTrace));
    fs::remove(quietTrace, error);
    fs::remove(everyTrace, error);
    if (!differences.empty())
        std::cout << "the two runs differ after these steps:\n" << differences;
    return quietStatus == 0 && everyStatus == 0 && differences.empty() ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: scenario-runner <file.scn> | --random SEED[:STEPS] [--keep] [--log]\n"
                     "                       [--quiet-frames | --every-frame] [--trace FILE] [--root DIR]\n";
        return 2;
    }
    ScenarioOptions options;
    options.binFolder = fs::absolute(fs::read_symlink("/proc/self/exe")).parent_path().string();
    std::string scenario = argv[1];
    std::string randomSeed;
    bool showLog = false, oneWay = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool valued = i + 1 < argc;
        if (argument == "--keep") {
            options.keepWorkspace = true;
        } else if (argument == "--log") {
            showLog = true;
        } else if (argument == "--quiet-frames" || argument == "--every-frame") {
            oneWay = true;
            options.skipQuietFrames = argument == "--quiet-frames";
        } else if (argument == "--trace" && valued) {
            options.tracePath = argv[++i];
        } else if (argument == "--root" && valued) {
            options.root = argv[++i];
        } else if (argument == "--random" && valued) {
            randomSeed = argv[++i];
        } else if (i == 1) {
            scenario = argument;
        }
    }
    if (!randomSeed.empty()) {
        // The scenario goes to a file, which both runs read.
        const size_t colon = randomSeed.find(':');
        const uint64_t seed = std::stoull(randomSeed.substr(0, colon));
        const int steps = colon == std::string::npos ? 60 : std::stoi(randomSeed.substr(colon + 1));
        scenario = (fs::temp_directory_path() /
                    ("morvane-random-" + std::to_string(seed) + "-" + std::to_string(getpid()) + ".scn"))
                       .string();
        std::ofstream(scenario) << RandomScenario(seed, steps);
        const int status = RunBothWays(scenario, options.keepWorkspace, showLog);
        std::cout << "random input, seed " << seed << ", " << steps
                  << " steps: " << (status == 0 ? "the same both ways" : "FAILED") << "\n";
        if (status == 0 && !options.keepWorkspace)
            fs::remove(scenario);
        else
            std::cout << "the scenario: " << scenario << "\n";
        return status;
    }
    if (!oneWay) {
        const int status = RunBothWays(scenario, options.keepWorkspace, showLog);
        std::cout << scenario << ": " << (status == 0 ? "passed both ways" : "failed") << "\n";
        return status;
    }
    options.sourceFolder = fs::absolute(scenario).parent_path().string();
    Runner_SetLogToStderr(showLog);
    // Sound goes to OpenAL's null device: voices play in real time, nothing reaches a speaker.
    setenv("ALSOFT_DRIVERS", "null", 0);
    int failures = RunScenario(scenario, options, std::cout);
    std::cout << scenario << (options.skipQuietFrames ? " (skipping quiet frames): " : " (every frame): ")
              << (failures == 0 ? "passed" : std::to_string(failures) + " failed") << "\n";
    return failures == 0 ? 0 : 1;
}
