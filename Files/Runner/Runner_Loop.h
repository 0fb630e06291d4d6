// The frame loop's state and one frame: pacing, the step proper and the drawing stage.
#pragma once
#include <cstdint>

struct CInstance;

struct RunnerLoopState {
    bool running = false;
    int exitCode = 0;
    // Frames keep to a grid of the frame period: a frame's time is the time it was due (or when it
    // began, when it began a whole period late), and delta_time the step from the last frame's.
    int64_t frameTime = 0;
    int64_t lastSecondMark = 0;
    int framesThisSecond = 0;
    int realFps = 0;
    uint64_t stepCount = 0;
    // After a quiet frame: no frame runs until something arrives (see Runner_Quiet.h).
    bool firstFrame = true; // runs at once: no frame has been shown yet to pace it against
    bool asleep = false;
    int64_t skippedCalls = 0; // frames a backend that does not block let pass while asleep
    uint64_t sleeps = 0;
    uint64_t skippedFrames = 0;
    int64_t sleptFor = 0;       // the last sleep's length
    uint64_t ranAhead = 0;      // frames run ahead, unshown (see Runner_AheadBegin)
    uint64_t runAheadAfter = 0; // the step count before which no frames run ahead again
};

RunnerLoopState& Runner_LoopState();
// Starts the frame grid: the first frame is due now.
void Runner_StartLoop(int64_t now);
void Runner_RunFrame();
// While asleep on a backend that does not block, the skipped frames' effect is applied at the wake-up;
// this applies it now, for a test that looks at the state in between.
void Runner_CatchUp();
// image_index += image_speed scaled by the sprite's playback speed; Animation End on a wrap.
void Runner_AdvanceAnimation(CInstance* instance);
// Whether the instance's image_index moves every frame with nothing that depends on where it is: no
// Animation End event of its own. Such an animation is put forward by itself after a sleep.
bool Runner_AnimationFreeRunning(const CInstance* instance);
// Every free-running animation `frames` frames on, as that many frames would have put it.
void Runner_AdvanceFreeAnimations(int64_t frames);
// Target frames per second: the data's game speed (major version 2 on), else the room speed.
double Runner_TargetRate();
// One frame at the target rate, in microseconds (0 when the rate is not positive).
int64_t Runner_FramePeriod();
