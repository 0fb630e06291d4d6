#include "platform/Platform_Log.h"
#include "platform/desktop/Desktop_Gtk.h"
#include "platform/desktop/Desktop_GtkOwner.h"
#include "platform/desktop/Desktop_MessageBox.h"
#include "platform/desktop/Desktop_ModalWait.h"
#include <initializer_list>

namespace {
constexpr int ButtonNo = 0;
constexpr int ButtonYes = 1;
constexpr int ButtonOk = 1;
constexpr int ClosedOtherwise = -1;
constexpr int NotShown = -2;
// Wide enough for the tool's name in the title bar, which a window manager would otherwise cut.
constexpr int BoxMinWidth = 360;

struct BoxButton {
    int id;
    const char* label;
};

// GTK's message dialog: it runs in GLib's loop, from which the main window is kept alive. The first
// button is the Return default; Escape and the close button are ignored when `escapeCloses` is false.
// The pressed button's id, ClosedOtherwise, or NotShown when there is no display to show it on.
int ShowBox(const std::string& text, const std::string& caption, std::initializer_list<BoxButton> buttons,
            bool escapeCloses) {
    const GtkApi* gtk = Desktop_Gtk();
    if (!gtk)
        return NotShown;
    GtkWidgetHandle dialog(gtk->gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_INFO,
                                                       GTK_BUTTONS_NONE, "%s", text.c_str()),
                           {gtk->gtk_widget_destroy});
    GtkWindow* window = GTK_WINDOW(dialog.get());
    gtk->gtk_window_set_title(window, caption.c_str());
    GtkDialog* box = GTK_DIALOG(dialog.get());
    for (const BoxButton& button : buttons)
        gtk->gtk_dialog_add_button(box, button.label, button.id);
    gtk->gtk_dialog_set_default_response(box, buttons.begin()->id);
    Desktop_BelongToOwner(*gtk, window, DialogSize{0, 0, BoxMinWidth, false});
    int response = ClosedOtherwise;
    do
        response = Desktop_RunDialog(*gtk, box);
    while (response < 0 && !escapeCloses && !Desktop_DialogsEnded());
    dialog.reset();
    Desktop_GtkSettle(*gtk);
    return response < 0 ? ClosedOtherwise : response;
}
} // namespace

void Desktop_ShowMessage(const std::string& text, const std::string& caption) {
    if (ShowBox(text, caption, {{ButtonOk, "OK"}}, true) == NotShown)
        Platform_Log("No message box could be shown: %s\n", text.c_str());
}

bool Desktop_AskYesNo(const std::string& text, const std::string& caption) {
    // Escape and the title bar's close button leave the question open; no box at all means No.
    return ShowBox(text, caption, {{ButtonYes, "Yes"}, {ButtonNo, "No"}}, false) == ButtonYes;
}
