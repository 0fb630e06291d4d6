// Draw calls as the scripts made them, for whoever watches a frame (the scripted platform's recorder).
#pragma once
#include <cstdint>
#include <string>

enum class DrawKind { Rectangle, Sprite, SpriteStretched, Text, Background, ApplicationSurface };

struct DrawCall {
    DrawKind kind = DrawKind::Rectangle;
    bool onSurface = false; // drawn into the application surface (Draw) rather than the window (GUI)
    double x = 0, y = 0;
    double x2 = 0, y2 = 0;        // rectangle: the opposite corner
    double width = 0, height = 0; // stretched sprite, background, surface: the covered size
    bool outline = false;
    int sprite = -1, frame = 0; // frame after wrapping
    double xscale = 1, yscale = 1, angle = 0;
    uint32_t colour = 0xFFFFFF;
    double alpha = 1;
    std::string text;
    int font = -1, halign = 0, valign = 0;
};

class DrawObserver {
  public:
    virtual ~DrawObserver() = default;
    virtual void FrameBegun() = 0;
    virtual void Drawn(const DrawCall& call) = 0;
};

// One observer at most; nullptr stops recording.
void Graphics_SetDrawObserver(DrawObserver* observer);
bool Graphics_Recording();
void Graphics_Record(DrawCall call);
void Graphics_RecordFrameBegun();
