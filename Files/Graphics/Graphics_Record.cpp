#include "Graphics/Graphics_Record.h"

namespace {
DrawObserver* observer = nullptr;
}

void Graphics_SetDrawObserver(DrawObserver* newObserver) {
    observer = newObserver;
}

DrawObserver* Graphics_DrawObserver() {
    return observer;
}

void Graphics_RecordText(std::string_view text) {
    if (observer != nullptr)
        observer->TextDrawn(text);
}

void Graphics_RecordFrameBegun() {
    if (observer != nullptr)
        observer->FrameBegun();
}
