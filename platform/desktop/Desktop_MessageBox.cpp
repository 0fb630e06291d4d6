#include "platform/desktop/Desktop_MessageBox.h"
#include "Runner/Runner_Log.h"
#include "platform/desktop/Desktop_Gtk.h"
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

// GTK's message dialog: it runs in GLib's loop, from which the main window is kept alive. The first
// button is the Return default; Escape and the close button are ignored when `escapeCloses` is false.
// The pressed button's id, ClosedOtherwise, or NotShown when there is no display to show it on.
int ShowBox(const std::string& text, const std::string& caption, std::initializer_list<BoxButton> buttons,
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
} // namespace

void Desktop_ShowMessage(const std::string& text, const std::string& caption) {
    if (ShowBox(text, caption, {{ButtonOk, "OK"}}, true) == NotShown)
        Runner_Log("No message box could be shown: %s\n", text.c_str());
}

bool Desktop_AskYesNo(const std::string& text, const std::string& caption) {
    // Escape and the title bar's close button leave the question open; no box at all means No.
    return ShowBox(text, caption, {{ButtonYes, "Yes"}, {ButtonNo, "No"}}, false) == ButtonYes;
}
