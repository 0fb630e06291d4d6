// The tool's pictures, drawn procedurally so the data file is reproducible from the sources.
#pragma once
#include "Image.h"
#include <vector>

// Frames of every sprite, by sprite index (sizes and frame counts as in Contents.h).
std::vector<std::vector<Frame>> SpriteFrames();

// One sprite each, exposed for looking at them separately.
std::vector<Frame> CloseButtonFrames();
std::vector<Frame> LogoFrames();
// The radio logo as a square picture of any size (the desktop icons use it too).
Image LogoImage(int size);
std::vector<Frame> PanelBackgroundFrames();
std::vector<Frame> LoadingSpinnerFrames();
std::vector<Frame> OutlineFrames(int width, int height);

constexpr int SpinnerFrameCount = 121;
