// Morvane Radio Tuner: the runtime with the tool's code and data, on the desktop platform.
#include "Runner/Runner_Form.h"
#include "app/Tool_Game.h"
#include "data/GameDataBlob.h"
#include "platform/desktop/Desktop_Platform.h"

int main(int argc, char** argv) {
    RunnerConfig config;
    config.arguments.assign(argv + 1, argv + argc);
    DesktopPlatform platform;
    return Runner_Main(config, Tool_Game(kGameData, kGameDataSize), platform);
}
