// Morvane Radio Tuner: the runtime with the tool's code and data, on the desktop platform; with an
// option of the form --name, batch mode instead, without a window.
#include "Runner/Runner_Form.h"
#include "Runner/Runner_Log.h"
#include "Support/Win32/Support_System.h"
#include "app/Tool_Game.h"
#include "app/batch/batch_main.h"
#include "app/batch/batch_options.h"
#include "app/desktop/single_window.h"
#include "app/desktop/verbose_log.h"
#include "app/desktop/window_libraries/window_libraries.h"
#include "app/desktop/window_options.h"
#include "data/GameDataBlob.h"
#include "platform/desktop/Desktop_Platform.h"
#include <cstdio>
#include <filesystem>

namespace {
// A file manager opens a container with its path as the only argument.
std::vector<std::string> OpenedFiles(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1 || arguments[0].starts_with('-')) {
        return {};
    }
    return {System_ResolvedPath(arguments[0])};
}
} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const WindowOptions options = TakeWindowOptions(arguments);
    if (!options.error.empty()) {
        std::fprintf(stderr, "morvane-radio-tuner: %s\n", options.error.c_str());
        return 2;
    }
    const EmbeddedGame& game = Tool_Game(kGameData, kGameDataSize);
    if (batch::IsBatchCommandLine(arguments)) {
        return batch::BatchMain(arguments, game);
    }
    RunnerConfig config;
    config.openFiles = OpenedFiles(arguments);
    config.arguments = std::move(arguments);
    // The terminal gets what went wrong; the runtime's start-up lines stay in runtime.log, and
    // --verbose shows them there too, in words a user can read.
    Runner_SetLogToStderr(options.verbose);
    Runner_SetLogView(VerboseLine);
    if (const std::string& failure = LoadWindowLibraries(); !failure.empty()) {
        std::fprintf(stderr, "morvane-radio-tuner: %s\n", failure.c_str());
        return 1;
    }
    DesktopPlatform platform(options.scale);
    if (!single_window::Claim()) {
        // The window that runs takes the file, or is raised.
        if (single_window::HandOver(config.openFiles)) {
            return 0;
        }
        const char* text = "Morvane Radio Tuner is already running.";
        std::fprintf(stderr, "%s\n", text);
        platform.ShowMessage(text, "Morvane Radio Tuner");
        return 1;
    }
    single_window::Listener listener;
    if (listener.Knock() != -1) {
        platform.AcceptHandoffs(listener.Knock(),
                                [&](std::vector<std::string>& files) { return listener.Receive(files); });
    }
    const int code = Runner_Main(config, game, platform);
    if (!options.verbose && !platform.WindowFailure().empty()) {
        std::fprintf(stderr, "%s\n", platform.WindowFailure().c_str());
    }
    // As a shell reports a program a signal ended.
    return platform.EndingSignal() != 0 ? 128 + platform.EndingSignal() : code;
}
