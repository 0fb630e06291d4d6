#include "Runner/Runner_Loop.h"
#include "Code/Code_Error.h"
#include "Graphics_API/Graphics_API.h"
#include "IO/IO_GameData.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_State.h"
#include "Sound/Audio_Main.h"
#include "platform/Platform.h"
#include <algorithm>

namespace {
constexpr uint64_t FreezeWhenUnfocused = 1u << 15;
constexpr int64_t MaxWait = 3'000'000;

RunnerLoopState state;

bool RoomChangePending() {
    return Room_PendingRoom() != NoPendingRoom;
}

void WaitForFrame(Platform& platform, int64_t now) {
    double rate = Runner_TargetRate();
    if (rate <= 0) {
        return;
    }
    int64_t elapsed = now - state.previousFrameTime;
    // Vertical sync stays off (the data asks for none), so the wait is timed here.
    const int64_t wait = std::clamp<int64_t>(static_cast<int64_t>(1'000'000 / rate) - elapsed, 0, MaxWait);
    if (wait <= 0) {
        return;
    }
    // One wake-up a frame: the whole wait is a wait for window messages that the platform ends at the
    // deadline, so the window answers at once and an idle frame sleeps through. The sleep margin is for
    // coarse timer sleeps, which this wait does not use.
    int64_t deadline = now + wait;
    for (int64_t remaining; (remaining = deadline - platform.NowMicros()) > 0;) {
        if (platform.AwaitMessages(remaining) && !platform.PumpMessages()) {
            state.running = false;
            return;
        }
    }
}

void CountFrame(int64_t now) {
    if (now / 1'000'000 != state.lastSecondMark / 1'000'000) {
        state.realFps = state.framesThisSecond;
        state.framesThisSecond = 0;
        state.lastSecondMark = now;
    }
    ++state.framesThisSecond;
}

} // namespace

void Runner_AdvanceAnimation(CInstance* instance) {
    const auto& sprites = Runner_Data().sprites;
    if (instance->spriteIndex < 0 || instance->spriteIndex >= static_cast<int>(sprites.size())) {
        instance->imageIndex += instance->imageSpeed;
        return;
    }
    const SpriteData& sprite = sprites[instance->spriteIndex];
    double rate = Runner_TargetRate();
    double step = sprite.playbackSpeedType == 1 ? instance->imageSpeed * sprite.playbackSpeed
                  : rate > 0                    ? instance->imageSpeed * (sprite.playbackSpeed / rate)
                                                : 0.0;
    float frames = static_cast<float>(sprite.frames.size());
    instance->imageIndex += static_cast<float>(step);
    if (frames <= 0) {
        return;
    }
    if (instance->imageIndex >= frames) {
        instance->imageIndex -= frames;
        PerformEvent(instance, instance, instance->objectIndex, ev_other, ev_animation_end);
    } else if (instance->imageIndex < 0) {
        instance->imageIndex += frames;
        PerformEvent(instance, instance, instance->objectIndex, ev_other, ev_animation_end);
    }
}

namespace {

void UpdateInstances() {
    CRoom* room = Room_Current();
    if (room == nullptr) {
        return;
    }
    for (size_t i = 0; i < room->active.size(); ++i) {
        CInstance* instance = room->active[i];
        if (instance->markedDestroyed || instance->deactivated) {
            continue;
        }
        instance->xprevious = instance->x;
        instance->yprevious = instance->y;
        Runner_AdvanceAnimation(instance);
    }
}

void DrawPass() {
    const RoomData& room = *Room_Current()->data;
    Graphics_Clear(room.backgroundColour, room.drawBackgroundColour);
    Room_DispatchDraw(ev_draw_begin);
    Room_DrawLayers();
    Room_DispatchDraw(ev_draw_end);
}

void DrawRoom() {
    const RoomData& room = *Room_Current()->data;
    if (room.flags & 1) {
        for (const ViewData& view : room.views) {
            if (view.enabled) {
                Graphics_SetView(view.portX, view.portY, view.portWidth, view.portHeight, view.viewX,
                                 view.viewY, view.viewWidth, view.viewHeight);
                DrawPass();
            }
        }
    } else {
        Graphics_SetView(0, 0, room.width, room.height, 0, 0, room.width, room.height);
        DrawPass();
    }
}

void DrawFrame() {
    if (Room_Current() == nullptr) {
        return;
    }
    bool surfaceEnabled = Graphics_PrepareApplicationSurface();
    Graphics_SetWholeWindowView();
    Room_DispatchDraw(ev_draw_pre);
    if (surfaceEnabled) {
        Graphics_TargetApplicationSurface();
    }
    DrawRoom();
    Graphics_TargetBackBuffer();
    Graphics_SetWholeWindowView();
    Room_DispatchDraw(ev_draw_post);
    if (!Graphics_SurfaceStackBalanced()) {
        ShowError("Unbalanced surface stack. You MUST use surface_reset_target() for each set.");
        return;
    }
    if (surfaceEnabled) {
        Graphics_DrawApplicationSurface();
    }
    Graphics_SetGuiView();
    Room_DispatchDraw(ev_gui_begin);
    Room_DispatchDraw(ev_gui);
    Room_DispatchDraw(ev_gui_end);
}

void StepProper(Platform& platform, int64_t now) {
    Runner_SetDeltaTime(now - state.previousStepTime);
    state.previousStepTime = now;
    Input_Update();
    if ((Runner_Data().options.flags & FreezeWhenUnfocused) && !platform.HasFocus()) {
        return;
    }
    UpdateInstances();
    Room_DispatchStep(ev_step_begin);
    if (RoomChangePending()) {
        return;
    }
    Room_DispatchStep(ev_step_normal);
    if (RoomChangePending()) {
        return;
    }
    Room_DispatchStep(ev_step_end);
    if (RoomChangePending()) {
        return;
    }
    DrawFrame();
    ++state.stepCount;
}

void ActOnPendingRoom() {
    int pending = Room_PendingRoom();
    if (pending == NoPendingRoom) {
        return;
    }
    if (pending >= 0) {
        CRoom* room = Room_Current();
        const auto& rooms = Runner_Data().rooms;
        if (pending >= static_cast<int>(rooms.size())) {
            Room_SetPendingRoom(PendingGameSwitch);
            state.running = false;
            return;
        }
        Runner_Log("Room switch from %s to %s\n", room ? room->data->name.c_str() : "",
                   rooms[pending].name.c_str());
        Room_End(false);
        Room_Start(pending, false);
    } else if (pending == PendingGameEnd || pending == PendingGameSwitch) {
        state.running = false;
    } else if (pending == PendingGameRestart) {
        Room_End(true);
        Room_Reset();
        Object_BuildEventLists();
        Graphics_ResetDrawState();
        Room_Start(Runner_Data().general.roomOrder.at(0), true);
    }
}
} // namespace

RunnerLoopState& Runner_LoopState() {
    return state;
}

double Runner_TargetRate() {
    const GameData& data = Runner_Data();
    if (data.general.versionMajor >= 2) {
        return data.general.gameSpeed;
    }
    const CRoom* room = Room_Current();
    return room ? std::max(1, room->data->speed) : 1;
}

void Runner_RunFrame() {
    Platform& platform = CurrentPlatform();
    int64_t now = platform.NowMicros();
    state.previousFrameTime = std::min(state.previousFrameTime, now);
    WaitForFrame(platform, now);
    if (!state.running) {
        return;
    }
    now = platform.NowMicros();
    state.previousFrameTime = now;
    CountFrame(now);
    Audio_Tick();
    Graphics_BeginFrame();
    StepProper(platform, now);
    Graphics_EndFrame(Room_PendingRoom() < 0);
    ActOnPendingRoom();
}
