// Morvane Radio Tuner: the runtime with the tool's code and data, on the desktop platform; with an
// option of the form --name, batch mode instead, without a window.
#include "Runner/Runner_Form.h"
#include "app/Tool_Game.h"
#include "app/batch/batch_main.h"
#include "app/batch/batch_options.h"
#include "app/single_window.h"
#include "data/GameDataBlob.h"
#include "platform/desktop/Desktop_Platform.h"
#include <cstdio>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const EmbeddedGame& game = Tool_Game(kGameData, kGameDataSize);
    if (batch::IsBatchCommandLine(arguments)) {
        return batch::BatchMain(arguments, game);
    }
    RunnerConfig config;
    // A file manager opens a container with its path as the only argument.
    if (arguments.size() == 1 && !arguments[0].starts_with('-')) {
        config.openFiles.push_back(arguments[0]);
    }
    config.arguments = std::move(arguments);
    DesktopPlatform platform;
    if (!single_window::Claim()) {
        const char* text = "Morvane Radio Tuner is already running.";
        std::fprintf(stderr, "%s\n", text);
        platform.ShowMessage(text, "Morvane Radio Tuner");
        return 1;
    }
    return Runner_Main(config, game, platform);
}
