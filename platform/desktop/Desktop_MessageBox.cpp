#include "platform/desktop/Desktop_MessageBox.h"
#include "Runner/Runner_Log.h"
#include "platform/desktop/Desktop_Gtk.h"
#include <SDL2/SDL.h>
#include <initializer_list>

namespace {
constexpr int ButtonNo = 0;
constexpr int ButtonYes = 1;
constexpr int ButtonOk = 1;
constexpr int ClosedOtherwise = -1;
constexpr int NotShown = -2;

struct BoxButton {
    int id;
    const char* label;
};

// GTK's message dialog, for when SDL cannot draw its own box (no usable X core fonts). The first
// button is the Return default; Escape and the close button are ignored when `escapeCloses` is false.
int ShowGtkBox(const std::string& text, const std::string& caption, std::initializer_list<BoxButton> buttons,
               bool escapeCloses) {
    if (!Desktop_GtkReady())
        return NotShown;
    GtkWidgetHandle dialog(gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_INFO,
                                                  GTK_BUTTONS_NONE, "%s", text.c_str()));
    gtk_window_set_title(GTK_WINDOW(dialog.get()), caption.c_str());
    gtk_window_set_keep_above(GTK_WINDOW(dialog.get()), TRUE);
    for (const BoxButton& button : buttons)
        gtk_dialog_add_button(GTK_DIALOG(dialog.get()), button.label, button.id);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), buttons.begin()->id);
    int response = ClosedOtherwise;
    do
        response = gtk_dialog_run(GTK_DIALOG(dialog.get()));
    while (response < 0 && !escapeCloses);
    dialog.reset();
    Desktop_GtkSettle();
    return response < 0 ? ClosedOtherwise : response;
}

// The pressed button's id, ClosedOtherwise, or NotShown when there is no way to show a box.
int ShowSdlBox(uint32_t flags, const std::string& text, const std::string& caption,
               const SDL_MessageBoxButtonData* buttons, int buttonCount) {
    const SDL_MessageBoxData box{flags,       nullptr, caption.c_str(), text.c_str(),
                                 buttonCount, buttons, nullptr};
    int pressed = ClosedOtherwise;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        Runner_Log("SDL cannot show a message box (%s); using GTK\n", SDL_GetError());
        return NotShown;
    }
    return pressed;
}
} // namespace

void Desktop_ShowMessage(const std::string& text, const std::string& caption) {
    const SDL_MessageBoxButtonData ok{
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ButtonOk, "OK"};
    if (ShowSdlBox(SDL_MESSAGEBOX_INFORMATION, text, caption, &ok, 1) == NotShown &&
        ShowGtkBox(text, caption, {{ButtonOk, "OK"}}, true) == NotShown)
        Runner_Log("No message box could be shown: %s\n", text.c_str());
}

bool Desktop_AskYesNo(const std::string& text, const std::string& caption) {
    // No button answers Escape, so Escape leaves the question open.
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ButtonYes, "Yes"},
        {0, ButtonNo, "No"},
    };
    for (;;) {
        int pressed = ShowSdlBox(SDL_MESSAGEBOX_INFORMATION, text, caption, buttons, 2);
        if (pressed == NotShown)
            pressed = ShowGtkBox(text, caption, {{ButtonYes, "Yes"}, {ButtonNo, "No"}}, false);
        if (pressed == ButtonYes)
            return true;
        if (pressed == ButtonNo || pressed == NotShown)
            return false;
        // Closed from the title bar: the question has no close box of its own, so it is asked again.
    }
}
