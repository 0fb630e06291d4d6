#include "platform/desktop/Desktop_MessageBox.h"
#include "Runner/Runner_Log.h"
#include <SDL2/SDL.h>

namespace {
constexpr int ButtonNo = 0;
constexpr int ButtonYes = 1;
constexpr int ButtonOk = 1;
constexpr int ClosedOtherwise = -1;
constexpr int NotShown = -2;

// The pressed button's id, ClosedOtherwise, or NotShown when there is no way to show a box.
int ShowBox(uint32_t flags, const std::string& text, const std::string& caption,
            const SDL_MessageBoxButtonData* buttons, int buttonCount) {
    const SDL_MessageBoxData box{flags,       nullptr, caption.c_str(), text.c_str(),
                                 buttonCount, buttons, nullptr};
    int pressed = ClosedOtherwise;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        Runner_Log("Cannot show a message box (%s): %s\n", SDL_GetError(), text.c_str());
        return NotShown;
    }
    return pressed;
}
} // namespace

void Desktop_ShowMessage(const std::string& text, const std::string& caption) {
    const SDL_MessageBoxButtonData ok{
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ButtonOk, "OK"};
    ShowBox(SDL_MESSAGEBOX_INFORMATION, text, caption, &ok, 1);
}

bool Desktop_AskYesNo(const std::string& text, const std::string& caption) {
    // No button answers Escape, so Escape leaves the question open.
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ButtonYes, "Yes"},
        {0, ButtonNo, "No"},
    };
    for (;;) {
        const int pressed = ShowBox(SDL_MESSAGEBOX_INFORMATION, text, caption, buttons, 2);
        if (pressed == ButtonYes)
            return true;
        if (pressed == ButtonNo || pressed == NotShown)
            return false;
        // Closed from the title bar: the question has no close box of its own, so it is asked again.
    }
}
