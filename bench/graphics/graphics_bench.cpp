// One frame of the tool's room, drawn with the tool's own data through the drawing built-ins: the
// background layer, the stretched panel, the status bar and five buttons (Draw), then the shade, the
// frame, the close button, the title and the logo (Draw GUI). About a dozen rectangles, six labels,
// eleven instances' worth of draw calls.
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Graphics_API/Graphics_API.h"
#include "IO/IO_Main.h"
#include "Object/Object_Class.h"
#include "Runner/Runner_Log.h"
#include "data/GameDataBlob.h"
#include "platform/desktop/Desktop_Platform.h"
#include "platform/scripted/Scripted_Platform.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {
constexpr double Navy = 0x221111, Frame = 0x4C3535, Text = 0xFFFFFF, White = 0xFFFFFF;

struct Builtin {
    int index;
    explicit Builtin(const char* name) : index(Function_Find(name)) {}
    void operator()(std::initializer_list<RValue> arguments, CInstance* self = nullptr) const {
        std::vector<RValue> args(arguments);
        RValue result;
        Function_Call(self, self, result, int(args.size()), index, args.data());
    }
};

struct Builtins {
    Builtin colour{"draw_set_colour"}, alpha{"draw_set_alpha"}, font{"draw_set_font"},
        halign{"draw_set_halign"}, valign{"draw_set_valign"}, rectangle{"draw_rectangle"},
        sprite{"draw_sprite"}, stretched{"draw_sprite_stretched_ext"}, self{"draw_self"}, text{"draw_text"};
};

const GameData& ToolData() {
    static const GameData data = [] {
        GameData loaded;
        std::string error;
        Runner_SetLogToStderr(false);
        if (!IO_LoadGame(kGameData, kGameDataSize, loaded, error)) {
            std::fprintf(stderr, "cannot load the game data: %s\n", error.c_str());
            std::exit(1);
        }
        Register_Graphics();
        return loaded;
    }();
    return data;
}

void Button(const Builtins& b, double x, double y, double width, const char* label) {
    b.alpha({1.0});
    b.colour({Frame});
    b.rectangle({x, y, x + width - 1, y + 31, 1.0});
    b.colour({Text});
    b.font({0.0});
    b.halign({1.0});
    b.valign({1.0});
    b.text({x + width * 0.5, y + 16, label});
    b.colour({White});
    b.halign({0.0});
    b.valign({0.0});
}

void DrawToolFrame(const Builtins& b, const LayerData& background, CInstance& logo) {
    Graphics_BeginFrame();
    Graphics_PrepareApplicationSurface();
    Graphics_SetWholeWindowView();
    Graphics_TargetApplicationSurface();
    Graphics_SetView(0, 0, 384, 192, 0, 0, 384, 192);
    Graphics_Clear(0, false);
    Graphics_DrawBackground(background);
    Button(b, 336, 128, 32, "R");
    Button(b, 336, 64, 32, "?");
    Button(b, 256, 128, 64, "Replace");
    Button(b, 160, 128, 64, "Export");
    Button(b, 16, 64, 32, "\u25B7");
    Button(b, 64, 128, 64, "Import");
    b.colour({Frame});
    b.rectangle({64.0, 64.0, 319.0, 95.0, 1.0});
    b.rectangle({64.0, 64.0, 64 + 255 * 0.75, 95.0, 0.0});
    b.colour({Text});
    b.halign({1.0});
    b.valign({1.0});
    b.text({192.0, 80.0, "bgm_01.sab"});
    b.halign({0.0});
    b.valign({0.0});
    b.stretched({2.0, 1.0, 0.0, 0.0, 384.0, 192.0, Navy, 1.0});
    Graphics_TargetBackBuffer();
    Graphics_SetWholeWindowView();
    Graphics_DrawApplicationSurface();
    Graphics_SetGuiView();
    b.self({}, &logo);
    b.alpha({0.1});
    b.colour({0.0});
    b.rectangle({0.0, 0.0, 384.0, 192.0, 0.0});
    b.alpha({1.0});
    b.colour({Frame});
    b.rectangle({0.0, 0.0, 383.0, 191.0, 1.0});
    b.colour({White});
    b.sprite({0.0, 1.0, 384.0, 0.0});
    b.text({32.0, 7.0, "Morvane Radio Tuner v1.0.5"});
    Graphics_EndFrame(true);
}

void RunFrames(benchmark::State& state, Platform& platform) {
    const GameData& data = ToolData();
    SetCurrentPlatform(&platform);
    if (!platform.CreateWindow(Graphics_WindowRequest(data)) || !Graphics_Init(data)) {
        state.SkipWithError("no window or graphics");
        return;
    }
    const Builtins b;
    LayerData background;
    background.type = LayerType::Background;
    background.colour = 0xFF221111;
    CInstance logo;
    logo.spriteIndex = 1;
    logo.x = 8;
    logo.y = 6;
    for (auto _ : state)
        DrawToolFrame(b, background, logo);
    Graphics_Shutdown();
    SetCurrentPlatform(nullptr);
}

void BM_ToolFrame_Scripted(benchmark::State& state) {
    ScriptedPlatform platform;
    RunFrames(state, platform);
}
BENCHMARK(BM_ToolFrame_Scripted)->Unit(benchmark::kMicrosecond);

// Needs a display (run under Xvfb by tool_frame.sh); skipped without one.
void BM_ToolFrame_Desktop(benchmark::State& state) {
    if (std::getenv("DISPLAY") == nullptr) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    DesktopPlatform platform;
    RunFrames(state, platform);
}
BENCHMARK(BM_ToolFrame_Desktop)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
