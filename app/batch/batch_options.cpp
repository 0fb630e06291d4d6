#include "app/batch/batch_options.h"
#include <algorithm>
#include <cctype>

namespace batch {
const char* const UsageText =
    "Usage:\n"
    "  morvane-radio-tuner --info CONTAINER...\n"
    "  morvane-radio-tuner --export CONTAINER OUTPUT      (format from OUTPUT's extension: .mp3, .ogg or "
    ".wav)\n"
    "  morvane-radio-tuner --replace CONTAINER AUDIO      (AUDIO: mp3, ogg or wav)\n"
    "  morvane-radio-tuner --restore CONTAINER\n"
    "  morvane-radio-tuner -h, --help | -V, --version\n"
    "  morvane-radio-tuner [--verbose] [--scale N] [CONTAINER]   (the window; --verbose also prints its\n"
    "                                     log on the terminal, --scale N draws it N times as large)\n"
    "\n"
    "--jobs N works on up to N containers at once (default: one per core), in one folder or many; each\n"
    "container's actions still run in the order given, and the output keeps that order.\n"
    "--export, --replace and --restore may be given several times; the actions run in the order given.\n"
    "--info prints one tab-separated line per container: path, codec (hca or ogg), stream offset in bytes,\n"
    "sample rate, channels, duration in seconds and whether a backup (CONTAINER.orig) exists (yes or no).\n"
    "Replace keeps CONTAINER.orig once and logs to tuner.log beside the container; restore puts the\n"
    "backup back and removes it. Every outcome is checked; a failed action leaves the container as it was.\n"
    "Exit status: 0 all actions succeeded, 1 one or more failed, 2 usage error.\n";

namespace {
bool IsOption(const std::string& argument) {
    return argument.size() > 2 && argument.compare(0, 2, "--") == 0;
}

bool HasExportExtension(const std::string& path) {
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".mp3" || tail == ".ogg" || tail == ".wav";
}

Options Usage(std::string error) {
    Options options;
    options.mode = Options::Mode::Usage;
    options.error = std::move(error);
    return options;
}

struct Form {
    const char* name;
    ActionKind kind;
    size_t operands; // 0: one or more
};
constexpr Form forms[] = {{"--info", ActionKind::Info, 0},
                          {"--export", ActionKind::Export, 2},
                          {"--replace", ActionKind::Replace, 2},
                          {"--restore", ActionKind::Restore, 1}};
} // namespace

bool IsBatchCommandLine(const std::vector<std::string>& arguments) {
    return !arguments.empty() &&
           (IsOption(arguments.front()) || arguments.front() == "-h" || arguments.front() == "-V");
}

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (size_t i = 0; i < arguments.size();) {
        const std::string& option = arguments[i++];
        const bool help = option == "--help" || option == "-h";
        if (help || option == "--version" || option == "-V") {
            if (arguments.size() != 1) {
                return Usage(option + " stands alone");
            }
            options.mode = help ? Options::Mode::Help : Options::Mode::Version;
            return options;
        }
        if (option == "--jobs") {
            const std::string count = i < arguments.size() ? arguments[i++] : "";
            if (count.empty() || count.size() > 4 ||
                !std::all_of(count.begin(), count.end(), [](unsigned char c) { return std::isdigit(c); }) ||
                std::stoul(count) == 0) {
                return Usage("--jobs needs a number of jobs from 1 to 9999");
            }
            options.jobs = static_cast<unsigned>(std::stoul(count));
            continue;
        }
        const Form* form =
            std::find_if(std::begin(forms), std::end(forms), [&](const Form& f) { return option == f.name; });
        if (form == std::end(forms)) {
            return Usage(IsOption(option) ? "unknown option " + option : "unexpected argument " + option);
        }
        std::vector<std::string> operands;
        while (i < arguments.size() && !IsOption(arguments[i]) &&
               (form->operands == 0 || operands.size() < form->operands)) {
            operands.push_back(arguments[i++]);
        }
        if (operands.empty() || (form->operands != 0 && operands.size() != form->operands)) {
            return Usage(option + " needs " + (form->operands == 2 ? "two files" : "a container"));
        }
        if (form->kind == ActionKind::Export && !HasExportExtension(operands[1])) {
            return Usage(operands[1] + ": the output must end in .mp3, .ogg or .wav");
        }
        if (form->kind == ActionKind::Info) {
            for (const std::string& container : operands) {
                options.actions.push_back({ActionKind::Info, {container}});
            }
        } else {
            options.actions.push_back({form->kind, std::move(operands)});
        }
    }
    if (options.actions.empty()) {
        return Usage("no action given");
    }
    return options;
}
} // namespace batch
