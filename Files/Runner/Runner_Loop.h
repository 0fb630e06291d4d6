// The frame loop's state and one frame: pacing, the step proper and the drawing stage.
#pragma once
#include <cstdint>

struct CInstance;

struct RunnerLoopState {
    bool running = false;
    int exitCode = 0;
    int64_t previousFrameTime = 0;
    int64_t previousStepTime = 0;
    int64_t lastSecondMark = 0;
    int framesThisSecond = 0;
    int realFps = 0;
    uint64_t stepCount = 0;
};

RunnerLoopState& Runner_LoopState();
void Runner_RunFrame();
// image_index += image_speed scaled by the sprite's playback speed; Animation End on a wrap.
void Runner_AdvanceAnimation(CInstance* instance);
// Target frames per second: the data's game speed (major version 2 on), else the room speed.
double Runner_TargetRate();
