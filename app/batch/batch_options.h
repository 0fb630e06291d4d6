// The command line of batch mode: the actions in the order given, or help, version or a usage error.
#pragma once
#include <string>
#include <vector>

namespace batch {
enum class ActionKind { Info, Export, Replace, Restore };

struct Action {
    ActionKind kind;
    std::vector<std::string> paths; // info: one container; export: container, output;
                                    // replace: container, audio; restore: container
};

struct Options {
    enum class Mode { Run, Help, Version, Usage } mode = Mode::Run;
    std::vector<Action> actions;
    unsigned jobs = 0; // containers worked on at once; 0: one per core
    std::string error; // for Mode::Usage
};

// Batch mode is meant when the first argument is an option of the form --name.
bool IsBatchCommandLine(const std::vector<std::string>& arguments);
Options ParseOptions(const std::vector<std::string>& arguments);
extern const char* const UsageText;
} // namespace batch
