#include "Graphics/Graphics_Record.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics/Graphics_Window.h"

namespace {
DrawObserver* observer = nullptr;
}

void Graphics_SetDrawObserver(DrawObserver* newObserver) {
    observer = newObserver;
}
bool Graphics_Recording() {
    return observer != nullptr;
}

void Graphics_Record(DrawCall call) {
    if (observer == nullptr)
        return;
    SDL_Texture* target = Render_Target();
    call.onSurface = target != nullptr && target == Surface_Texture(ApplicationSurfaceId);
    observer->Drawn(call);
}

void Graphics_RecordFrameBegun() {
    if (observer != nullptr)
        observer->FrameBegun();
}
