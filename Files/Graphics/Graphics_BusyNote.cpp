#include "Graphics/Graphics_BusyNote.h"
#include "Graphics/Graphics_RenderList.h"
#include "Graphics/Graphics_State.h"
#include "Graphics/Graphics_Text.h"
#include "Graphics/Graphics_Texture.h"
#include <optional>
#include <utility>

namespace {
std::optional<BusyNote> note;
bool painted = false; // the window shows the note, which no frame will cover if it equals the last

std::string Text(const BusyNote& shown) {
    const int percent = shown.percent ? shown.percent() : -1;
    return percent < 0 ? shown.text : shown.text + " " + std::to_string(percent) + "%";
}

// Rendered at once over the last frame, in the default font; the draw state is left as it was.
void DrawNote(const BusyNote& shown) {
    const SDL_Rect inside{shown.x + 1, shown.y + 1, shown.width - 2, shown.height - 2};
    Render_Fill(&inside, Texture_Modulation(shown.background, 1), SDL_BLENDMODE_NONE);
    DrawState& state = Graphics_DrawState();
    const DrawState saved = state;
    state = DrawState{shown.colour, 1, -1, 1, 1};
    Text_Draw(shown.x + shown.width * 0.5, shown.y + shown.height * 0.5, Text(shown));
    state = saved;
}
} // namespace

void BusyNote_Set(BusyNote shown) {
    note = std::move(shown);
}

void BusyNote_Clear() {
    note.reset();
    if (std::exchange(painted, false))
        RenderList_Repaint();
}

void BusyNote_Repaint() {
    if (!note)
        return;
    RenderList_RepaintWith([] { DrawNote(*note); });
    painted = true;
}
