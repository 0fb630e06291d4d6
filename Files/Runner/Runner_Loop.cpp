#include "Runner/Runner_Loop.h"
#include "Code/Code_Error.h"
#include "Graphics/Graphics_Record.h"
#include "Graphics_API/Graphics_API.h"
#include "IO/IO_GameData.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Quiet.h"
#include "Runner/Runner_State.h"
#include "Sound/Audio_Main.h"
#include "platform/Platform.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr uint64_t FreezeWhenUnfocused = 1u << 15;
constexpr int64_t MaxWait = 3'000'000;

RunnerLoopState state;

bool RoomChangePending() {
    return Room_PendingRoom() != NoPendingRoom;
}

// Waits, pumping messages, until `until`; false when the quit message came meanwhile.
bool WaitUntil(Platform& platform, int64_t until) {
    // One wake-up a frame: the whole wait is a wait for window messages that the platform ends at the
    // deadline, so the window answers at once and an idle frame sleeps through. The sleep margin is for
    // coarse timer sleeps, which this wait does not use.
    for (int64_t remaining; (remaining = until - platform.NowMicros()) > 0;) {
        if (platform.AwaitMessages(remaining) && !platform.PumpMessages()) {
            state.running = false;
            return false;
        }
    }
    return true;
}

// Waits until the next frame is due; its time: when it was due, or when it began if that was a whole
// period later (the grid then starts again from there).
int64_t WaitForFrame(Platform& platform) {
    const int64_t period = Runner_FramePeriod();
    int64_t now = platform.NowMicros();
    state.frameTime = std::min(state.frameTime, now);
    if (period <= 0) {
        return now;
    }
    // Vertical sync stays off (the data asks for none), so the wait is timed here.
    const int64_t due = state.frameTime + period;
    if (!WaitUntil(platform, std::min(due, now + MaxWait))) {
        return now;
    }
    now = platform.NowMicros();
    return now >= due && now - due < period ? due : now;
}

// MORVANE_FRAME_LOG=1 logs every sleep and wake-up, 2 also why each frame that is not quiet is not.
int FrameLog() {
    static const int level = [] {
        const char* value = std::getenv("MORVANE_FRAME_LOG");
        return value != nullptr ? std::atoi(value) : 0;
    }();
    return level;
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

namespace {
// How image_index moves a frame: the step, and the sprite's frame count it wraps at (0: no wrap).
struct AnimationStep {
    float step = 0;
    float frames = 0;
};

AnimationStep StepOf(const CInstance* instance) {
    const auto& sprites = Runner_Data().sprites;
    if (instance->spriteIndex < 0 || instance->spriteIndex >= static_cast<int>(sprites.size())) {
        return {instance->imageSpeed, 0};
    }
    const SpriteData& sprite = sprites[instance->spriteIndex];
    double rate = Runner_TargetRate();
    double step = sprite.playbackSpeedType == 1 ? instance->imageSpeed * sprite.playbackSpeed
                  : rate > 0                    ? instance->imageSpeed * (sprite.playbackSpeed / rate)
                                                : 0.0;
    return {static_cast<float>(step), static_cast<float>(sprite.frames.size())};
}

// One frame's move; true when it wrapped (Animation End).
bool Advance(float& index, const AnimationStep& move) {
    index += move.step;
    if (move.frames <= 0) {
        return false;
    }
    if (index >= move.frames) {
        index -= move.frames;
        return true;
    }
    if (index < 0) {
        index += move.frames;
        return true;
    }
    return false;
}

// What UpdateInstances moves.
bool Animates(const CInstance* instance) {
    return !instance->markedDestroyed && !instance->deactivated;
}
} // namespace

void Runner_AdvanceAnimation(CInstance* instance) {
    if (Advance(instance->imageIndex, StepOf(instance))) {
        PerformEvent(instance, instance, instance->objectIndex, ev_other, ev_animation_end);
    }
}

bool Runner_AnimationFreeRunning(const CInstance* instance) {
    const AnimationStep move = StepOf(instance);
    return move.step != 0 && Animates(instance) &&
           (move.frames <= 0 ||
            Object_FindEventHandler(instance->objectIndex, ev_other, ev_animation_end).code == nullptr);
}

void Runner_AdvanceFreeAnimations(int64_t frames) {
    CRoom* room = Room_Current();
    if (room == nullptr || frames <= 0 ||
        ((Runner_Data().options.flags & FreezeWhenUnfocused) && !CurrentPlatform().HasFocus())) {
        return;
    }
    for (CInstance* instance : room->active) {
        if (!Runner_AnimationFreeRunning(instance)) {
            continue;
        }
        const AnimationStep move = StepOf(instance);
        // The same additions as frames make, in floats; an animation that comes back to where it
        // started (or stops moving) is only run through once.
        const float start = instance->imageIndex;
        float index = start;
        int64_t done = 0;
        while (done < frames) {
            const float before = index;
            Advance(index, move);
            ++done;
            if (index == start) {
                done = frames - (frames - done) % done;
            } else if (index == before) {
                break;
            }
        }
        instance->imageIndex = index;
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

// The Step events and the drawing; whether the input differed from the last frame's.
bool StepProper(Platform& platform, int64_t delta) {
    Runner_SetDeltaTime(delta);
    const bool inputChanged = Input_Update();
    if ((Runner_Data().options.flags & FreezeWhenUnfocused) && !platform.HasFocus()) {
        return inputChanged;
    }
    UpdateInstances();
    Room_DispatchStep(ev_step_begin);
    if (RoomChangePending()) {
        return inputChanged;
    }
    Room_DispatchStep(ev_step_normal);
    if (RoomChangePending()) {
        return inputChanged;
    }
    Room_DispatchStep(ev_step_end);
    if (RoomChangePending()) {
        return inputChanged;
    }
    DrawFrame();
    ++state.stepCount;
    return inputChanged;
}

// The most frames run ahead at once: the panel's shade, fading out by a quarter a frame, reaches its
// fixed point through the smallest doubles in about 2,600.
constexpr int LongestRunAhead = 4096;

// After a frame that was quiet but for its state: the next frames run at once, unshown, until the state
// repeats (the loop may then sleep) or a frame is not quiet but for its state; everything is then put
// back as it was. Frames that stopped are not run ahead again until the real ones have passed the one
// that stopped them, which would stop them again; a state that did not settle within the longest run
// ahead is not tried again for four times as many frames, so it costs at most a quarter more.
bool RunAhead(Platform& platform, int64_t period) {
    if (period <= 0 || state.stepCount < state.runAheadAfter) {
        return false;
    }
    const uint64_t stepCount = state.stepCount;
    const uint64_t stamp = Room_DispatchStamp();
    DrawObserver* observer = Graphics_DrawObserver();
    Graphics_SetDrawObserver(nullptr);
    Runner_AheadBegin();
    int frames = 0;
    for (bool more = true; more && frames < LongestRunAhead; ++frames) {
        Runner_QuietBeginFrame();
        try {
            Graphics_BeginFrame();
            const bool inputChanged = StepProper(platform, period);
            const bool roomPending = RoomChangePending();
            more = Runner_AheadFrameEnd(inputChanged, Graphics_EndFrameUnshown(), roomPending);
        } catch (const RunAheadStop&) {
            Graphics_EndFrameUnshown();
            more = false;
        }
    }
    if (RoomChangePending()) {
        Room_SetPendingRoom(NoPendingRoom);
    }
    const bool found = Runner_AheadEnd();
    Room_SetDispatchStamp(stamp);
    state.stepCount = stepCount;
    Graphics_SetDrawObserver(observer);
    state.ranAhead += uint64_t(frames);
    state.runAheadAfter = found ? 0 : stepCount + uint64_t(frames) * (frames < LongestRunAhead ? 1 : 4);
    return found;
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

int64_t Runner_FramePeriod() {
    const double rate = Runner_TargetRate();
    return rate > 0 ? std::llround(1'000'000 / rate) : 0;
}

void Runner_StartLoop(int64_t now) {
    state.frameTime = now;
    state.firstFrame = true;
    state.lastSecondMark = now;
    state.asleep = false;
    state.skippedCalls = 0;
}

namespace {
// The loop slept and something arrived: the frames skipped meanwhile are accounted for, as if they
// had run. On a backend that blocks they are the frames that fell due before now (the next due one
// would have been the first to see what arrived); one that does not block counted them.
void WakeUp(Platform& platform, int64_t now) {
    const int64_t period = Runner_FramePeriod();
    int64_t skipped = state.skippedCalls;
    if (skipped == 0 && period > 0 && now > state.frameTime) {
        skipped = (now - state.frameTime + period - 1) / period - 1;
    }
    Runner_QuietResume(skipped);
    state.skippedFrames += uint64_t(skipped);
    state.sleptFor = now - state.frameTime;
    state.asleep = false;
    state.skippedCalls = 0;
    (void)platform;
}
} // namespace

void Runner_CatchUp() {
    if (!state.asleep || state.skippedCalls == 0) {
        return;
    }
    Runner_QuietResume(state.skippedCalls);
    state.skippedFrames += uint64_t(state.skippedCalls);
    state.frameTime += Runner_FramePeriod() * state.skippedCalls;
    state.skippedCalls = 0;
}

void Runner_RunFrame() {
    Platform& platform = CurrentPlatform();
    const int64_t period = Runner_FramePeriod();
    int64_t frameTime = 0;
    int64_t delta = 0;
    const bool woken = state.asleep;
    const uint64_t skippedBefore = state.skippedFrames;
    uint64_t skippedNow = 0;
    if (state.asleep) {
        if (!platform.AwaitChange()) {
            // A backend that does not block (a test's clock): this call stands for a frame that did
            // not run, and its time passes as the frame's would have.
            ++state.skippedCalls;
            WaitUntil(platform, state.frameTime + period * state.skippedCalls);
            return;
        }
        if (!platform.PumpMessages()) {
            state.running = false;
            return;
        }
        frameTime = platform.NowMicros();
        WakeUp(platform, frameTime);
        skippedNow = state.skippedFrames - skippedBefore;
        // What the frame would have seen had none been skipped.
        delta = period;
    } else if (state.firstFrame) {
        // Nothing shown yet: the first frame runs at once, the grid starts from it.
        frameTime = std::max(platform.NowMicros(), state.frameTime);
        delta = period;
    } else {
        frameTime = WaitForFrame(platform);
        if (!state.running) {
            return;
        }
        delta = frameTime - state.frameTime;
    }
    state.firstFrame = false;
    state.frameTime = frameTime;
    CountFrame(frameTime);
    Runner_QuietBeginFrame();
    Audio_Tick();
    Graphics_BeginFrame();
    const bool inputChanged = StepProper(platform, delta);
    const bool roomPending = RoomChangePending();
    const bool presented = Graphics_EndFrame(Room_PendingRoom() < 0);
    ActOnPendingRoom();
    const bool mayWait = state.running && platform.CanAwaitChange();
    bool quiet = mayWait && Runner_QuietEndFrame(inputChanged, presented, roomPending);
    if (!quiet && mayWait && Runner_QuietSettling()) {
        const uint64_t before = state.ranAhead;
        quiet = RunAhead(platform, period);
        if (FrameLog() >= 2 || (quiet && FrameLog())) {
            Runner_Log("Frames ran ahead %llu frames: %s\n",
                       static_cast<unsigned long long>(state.ranAhead - before),
                       quiet ? "the state repeats" : "stopped");
        }
    }
    if (woken && FrameLog()) {
        // Which frame answered the wake-up, and how soon: the wait's end to the frame's.
        Runner_Log(
            "Frames wake after %.3f s (%llu frames skipped): %s; the frame %s %.2f ms after the wake\n",
            double(state.sleptFor) / 1e6, static_cast<unsigned long long>(skippedNow),
            quiet ? "nothing changed" : Runner_QuietReason(), presented ? "presented a new picture" : "ended",
            double(platform.NowMicros() - frameTime) / 1e3);
    } else if (!quiet && FrameLog() >= 2) {
        Runner_Log("Frame %llu not quiet: %s\n", static_cast<unsigned long long>(state.stepCount),
                   Runner_QuietReason());
    }
    if (quiet) {
        state.asleep = true;
        ++state.sleeps;
        if (FrameLog()) {
            Runner_Log("Frames sleep after frame %llu\n", static_cast<unsigned long long>(state.stepCount));
        }
    }
}
