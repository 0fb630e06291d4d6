#include "app/batch/batch_options.h"
#include <algorithm>
#include <cctype>

namespace batch {
// tests/packaging/man_page.sh checks that the man page has the same options and exit statuses.
const char* const UsageText =
    "Usage:\n"
    "  morvane-radio-tuner [--verbose] [--scale N] [CONTAINER]   (the window)\n"
    "  morvane-radio-tuner [--jobs N] ACTION...                  (batch mode, no window)\n"
    "  morvane-radio-tuner -h, --help | -V, --version\n"
    "\n"
    "The window:\n"
    "  --verbose                   also print the runtime's log on the terminal\n"
    "  --scale N                   draw the window N times as large (1 to 8)\n"
    "  CONTAINER                   import this .sab or .mab file once started\n"
    "\n"
    "Actions (each may be given several times; they run in the order given):\n"
    "  --info CONTAINER...         one tab-separated line per container: path, codec (hca or ogg),\n"
    "                              stream offset in bytes, sample rate, channels, duration in seconds\n"
    "                              and whether a backup (CONTAINER.orig) exists (yes or no)\n"
    "  --export CONTAINER OUTPUT   save the track as OUTPUT: .mp3, .ogg or .wav, by its extension\n"
    "  --replace CONTAINER AUDIO   put AUDIO (mp3, ogg or wav) in the container; keeps CONTAINER.orig\n"
    "                              once and logs to tuner.log beside the container\n"
    "  --restore CONTAINER         put the backup back and remove it\n"
    "  --jobs N                    work on up to N containers at once (default: one per core), in one\n"
    "                              folder or many; each container's actions keep their order, and so\n"
    "                              does the output\n"
    "\n"
    "Every outcome is checked; a failed action leaves the container as it was.\n"
    "Exit status: 0 all actions succeeded, 1 one or more failed, 2 usage error, 129 the terminal\n"
    "closed (SIGHUP), 130 interrupted (SIGINT), 143 terminated (SIGTERM); the action under way is put back.\n";

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
