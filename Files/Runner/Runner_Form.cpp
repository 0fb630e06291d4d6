#include "Runner/Runner_Form.h"
#include "Code/Code_Error.h"
#include "Code/Code_Function.h"
#include "Code/Code_Main.h"
#include "Function/Function_Handed.h"
#include "Graphics_API/Graphics_API.h"
#include "IO/IO_GameData.h"
#include "IO/IO_Main.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Loop.h"
#include "Runner/Runner_Quiet.h"
#include "Runner/Runner_State.h"
#include "Sound/Audio_Main.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "Variable/Variable_BuiltIn.h"
#include "platform/Platform.h"
#include "platform/Platform_Log.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>
#include <thread>

namespace {
constexpr uint32_t BorderlessWindow = 0x4000;
constexpr uint32_t ResizableWindow = 0x40;
constexpr uint32_t SaveUnderRoamingData = 0x2000;

// Thrown by the error report's exit hook so that the loop unwinds and resources are released.
struct ProgramExit {
    int code;
};

struct RunnerSession {
    GameSource source;
    std::unique_ptr<GameData> data;
    std::thread::id mainThread;
    bool graphicsStarted = false;
};

RunnerSession session;

// "-game <file>" names the game file when nothing is embedded and there is no data.win.
std::string GameFileOption() {
    const auto& arguments = Runner_Arguments();
    for (size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-game") {
            return arguments[i + 1];
        }
    }
    return "";
}

void LogPlatformLine(const char* line) {
    Runner_Log("%s", line);
}

void ThrowProgramExit(int code) {
    throw ProgramExit{code};
}

// Save area: the roaming (or local) data folder + the game name; APPDATA is exported so command lines see it.
void SetUpSaveArea(const GeneralInfo& general) {
    const char* appData = std::getenv("APPDATA");
    std::string roaming = appData && *appData ? appData : FileM_DefaultAppData();
    System_SetEnvironment("APPDATA", roaming);
    const char* localAppData = std::getenv("LOCALAPPDATA");
    std::string base = (general.infoFlags & SaveUnderRoamingData) || !localAppData ? roaming : localAppData;
    std::string saveArea = base + "/" + general.gameName + "/";
    std::error_code error;
    std::filesystem::create_directories(System_Path(saveArea), error);
    FileM_SetSaveArea(saveArea);
    Runner_OpenLogFile(saveArea + "runtime.log");
}

bool Prepare(const char* what, bool ok) {
    if (!ok) {
        Runner_Log("%s\n", what);
    }
    return ok;
}

bool RunGlobalInitScripts(const GameData& data) {
    for (int codeId : data.globalInitScripts) {
        const CodeEntry* entry = Code_Entry(codeId);
        if (entry == nullptr) {
            return false;
        }
        ReportContextScope reportContext("Global Script", entry->table->name);
        try {
            Code_Execute(*entry, GlobalObject(), GlobalObject());
        } catch (const ScriptError& error) {
            ShowErrorReport(error);
        }
    }
    return true;
}

bool PrepareGame(const GameData& data) {
    Runner_Log("PrepareGame()\n");
    Function_SetExtensionNames({});
    return Prepare("Failed to prepare the extensions.", true) &&
           Prepare("Failed to prepare the constants.", true) &&
           Prepare("Failed to prepare the scripts.", RunGlobalInitScripts(data)) &&
           Prepare("Failed to prepare the timelines.", true) &&
           Prepare("Failed to compile the actions in the objects.", Object_Prepare(data)) &&
           Prepare("Failed to prepare the rooms.", Room_Prepare(data)) &&
           Prepare("Failed to prepare the sounds.",
                   (Audio_Init(), Audio_OnStreamEnd([] { CurrentPlatform().Wake(); }), true)) &&
           Prepare("Failed to prepare the graphics.", session.graphicsStarted = Graphics_Init(data));
}

bool LoadGame(const EmbeddedGame& game) {
    std::string error;
    session.data = std::make_unique<GameData>();
    SetInstanceSlotCount(game.instanceVariableCount);
    CreateGlobalObject(std::max(game.globalVariableCount, game.instanceVariableCount));
    Code_Load(game);
    if (!IO_LoadGame(game.data, game.length, *session.data, error)) {
        Runner_Log("%s\n", error.c_str());
        return false;
    }
    Runner_SetData(session.data.get());
    std::vector<std::string> scriptNames;
    for (const ScriptData& script : session.data->scripts) {
        scriptNames.push_back(script.name);
    }
    Function_SetScriptNames(std::move(scriptNames));
    return Code_BindReferences(game);
}

// Once the window exists, error reports also come up in a message box.
void ShowReportInBox(const std::string& report) {
    Platform& platform = CurrentPlatform();
    platform.ShowMessage(report, platform.Caption());
}

// The game located and its header read, the save area set up; the header's settings.
GeneralInfo LocateGame(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform) {
    session.mainThread = std::this_thread::get_id();
    SetCurrentPlatform(&platform);
    Platform_SetLogSink(LogPlatformLine);
    Runner_SetArguments(config.arguments);
    Handed_Start(config.openFiles);
    std::string programFolder =
        config.programFolder.empty() ? System_ExecutableFolder() : config.programFolder;
    if (programFolder.back() != '/') {
        programFolder += '/';
    }
    FileM_SetProgramFolder(programFolder);
    Runner_Log("Create Error Form\n");
    Runner_Log("v%d.%d(%d)[r%d]\n", 1, 0, 999, 32908);
    GameSource& source = session.source;
    if (!IO_LocateGame(game.data, game.length, programFolder + "morvane-radio-tuner", GameFileOption(),
                       source)) {
        throw ProgramExit{1};
    }
    Runner_Log("RunnerLoadGame: %s\n", source.path.c_str());
    Runner_Log("Get Resolution\n");
    GeneralInfo general;
    std::string error;
    if (!IO_ReadHeader(source.data, source.length, general, error)) {
        Runner_Log("%s\n", error.c_str());
        throw ProgramExit{1};
    }
    SetUpSaveArea(general);
    return general;
}

// The built-ins registered and the located game's data and code loaded.
void LoadCode(const EmbeddedGame& game) {
    Function_RegisterAll();
    Variable_BuiltIn_RegisterCore();
    EmbeddedGame located = game;
    located.data = session.source.data;
    located.length = session.source.length;
    if (!LoadGame(located)) {
        Runner_Log("Failed to load the game\n");
        throw ProgramExit{1};
    }
}

void Start(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform) {
    GeneralInfo general = LocateGame(config, game, platform);
    Runner_Log("Create Window\n");
    WindowRequest request{general.windowWidth, general.windowHeight,
                          (general.infoFlags & BorderlessWindow) != 0,
                          (general.infoFlags & ResizableWindow) != 0, general.displayName};
    Runner_Log("Init Graphics\n");
    if (!platform.CreateWindow(request)) {
        throw ProgramExit{1};
    }
    // Not before: starting the video may fork a session-bus launcher, and a child forked while
    // another thread holds a lock can hang before it execs.
    Audio_BeginOpening();
    SetErrorSink(ShowReportInBox);
    for (const char* line : {"IO Init", "Process Messages"}) {
        Runner_Log("%s\n", line);
    }
    platform.PumpMessages();
    for (const char* line : {"Splash!", "Start Frame", "Part Create Textures", "Debug Init Remote Interface",
                             "VM Init", "Create Score Form", "Create Load Form", "Do The Work"}) {
        Runner_Log("%s\n", line);
    }
    LoadCode(game);
    if (!PrepareGame(*session.data)) {
        throw ProgramExit{1};
    }
    Runner_Log("Run_Start\n");
    RunnerLoopState& state = Runner_LoopState();
    state = RunnerLoopState{};
    state.running = true;
    const char* everyFrame = std::getenv("MORVANE_EVERY_FRAME");
    Runner_QuietStart(config.skipQuietFrames && (everyFrame == nullptr || *everyFrame == '\0'));
    Object_BuildEventLists();
    Room_Reset();
    Graphics_ResetDrawState();
    Room_Start(session.data->general.roomOrder.at(0), true);
    platform.Focus();
    // No frame has been shown yet, so the first one runs at once instead of a frame's length later.
    Runner_StartLoop(platform.NowMicros());
}

// The runner owns the graphics layer: it goes before the backend that made its renderer.
void ReleaseEverything() {
    SetErrorSink(nullptr);
    if (session.graphicsStarted) {
        Graphics_Shutdown();
        session.graphicsStarted = false;
    }
    Audio_Shutdown(); // also closes a device still being opened when start-up failed
    Object_Clear();
    SetCurrentPlatform(nullptr);
    Platform_SetLogSink(nullptr);
    Runner_CloseLogFile();
}

bool StartFailed(int code) {
    Runner_LoopState().running = false;
    Runner_LoopState().exitCode = code;
    Room_Reset();
    ReleaseEverything();
    return false;
}

} // namespace

bool Runner_Start(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform) {
    SetErrorExit(ThrowProgramExit);
    try {
        Start(config, game, platform);
        return true;
    } catch (const ProgramExit& exit) {
        return StartFailed(exit.code);
    } catch (const std::exception& error) {
        // Whatever start-up did not foresee still ends the program in order, never by an abort.
        Runner_Log("Failed to start the game: %s\n", error.what());
        return StartFailed(1);
    }
}

bool Runner_Frame() {
    RunnerLoopState& state = Runner_LoopState();
    try {
        // Asleep, the wait comes first: what arrived is pumped once it has ended it.
        if (state.running && !state.asleep && !CurrentPlatform().PumpMessages()) {
            state.running = false;
        }
        if (state.running) {
            Runner_RunFrame();
        }
    } catch (const ProgramExit& exit) {
        state.running = false;
        state.exitCode = exit.code;
    }
    return state.running;
}

int Runner_Finish() {
    RunnerLoopState& state = Runner_LoopState();
    try {
        if (state.exitCode == 0) {
            Room_EndGame();
        }
    } catch (const ProgramExit& exit) {
        state.exitCode = exit.code;
    }
    Room_Reset();
    ReleaseEverything();
    return state.exitCode;
}

int Runner_RunWithoutWindow(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform,
                            const std::function<int()>& work) {
    SetErrorExit(ThrowProgramExit);
    int code = 1;
    try {
        LocateGame(config, game, platform);
        LoadCode(game);
        Function_SetExtensionNames({});
        if (RunGlobalInitScripts(*session.data)) {
            code = work();
        }
    } catch (const ProgramExit& exit) {
        code = exit.code;
    }
    ReleaseEverything();
    return code;
}

int Runner_Main(const RunnerConfig& config, const EmbeddedGame& game, Platform& platform) {
    if (!Runner_Start(config, game, platform)) {
        return Runner_LoopState().exitCode;
    }
    while (Runner_Frame()) {
    }
    return Runner_Finish();
}
