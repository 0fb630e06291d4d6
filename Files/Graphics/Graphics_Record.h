// The texts a frame draws, for whoever watches it (the scenarios check what the window says).
#pragma once
#include <string_view>

class DrawObserver {
  public:
    virtual ~DrawObserver() = default;
    virtual void FrameBegun() = 0;
    virtual void TextDrawn(std::string_view text) = 0;
};

// One observer at most; nullptr stops recording.
void Graphics_SetDrawObserver(DrawObserver* observer);
DrawObserver* Graphics_DrawObserver();
void Graphics_RecordText(std::string_view text);
void Graphics_RecordFrameBegun();
