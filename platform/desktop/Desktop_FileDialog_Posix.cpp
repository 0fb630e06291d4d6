#include "platform/Dialog_Filter.h"
#include "platform/desktop/Desktop_FileDialog.h"
#include "platform/desktop/Desktop_Gtk.h"
#include "platform/desktop/Desktop_GtkOwner.h"
#include "platform/desktop/Desktop_MessageBox.h"
#include "platform/desktop/Desktop_ModalWait.h"
#include <filesystem>
#include <memory>

namespace {
namespace fs = std::filesystem;

struct GFree {
    decltype(&::g_free) free;
    void operator()(gchar* text) const { free(text); }
};
// What a file dialog asks for at first; never more than the screen allows.
constexpr int DialogWidth = 800, DialogHeight = 560;

GtkFileChooser* Chooser(const GtkWidgetHandle& dialog) {
    return GTK_FILE_CHOOSER(dialog.get());
}

// Case in patterns is ASCII only, whatever locale GTK has switched to.
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// The system dialog matched patterns without regard to case; "*.*" meant every file.
std::string CaseInsensitivePattern(const std::string& pattern) {
    if (pattern == "*.*")
        return "*";
    std::string result;
    for (const char c : pattern) {
        if (AsciiLower(c) != AsciiUpper(c))
            result += {'[', AsciiLower(c), AsciiUpper(c), ']'};
        else
            result += c;
    }
    return result;
}

void AddFilters(const GtkApi& gtk, GtkFileChooser* chooser, const std::string& filter) {
    for (const DialogFilterEntry& entry : Dialog_ParseFilter(filter)) {
        GtkFileFilter* gtkFilter = gtk.gtk_file_filter_new();
        gtk.gtk_file_filter_set_name(gtkFilter, entry.label.c_str());
        for (const std::string& pattern : entry.patterns)
            gtk.gtk_file_filter_add_pattern(gtkFilter, CaseInsensitivePattern(pattern).c_str());
        gtk.gtk_file_chooser_add_filter(chooser, gtkFilter); // takes the floating reference
    }
}

// GTK's own dialog rather than the native one, whose window cannot be made to belong to ours.
GtkWidgetHandle MakeDialog(const GtkApi& gtk, GtkFileChooserAction action, const FileDialogRequest& request,
                           const char* accept) {
    GtkWidgetHandle dialog(gtk.gtk_file_chooser_dialog_new(request.title.c_str(), nullptr, action, "_Cancel",
                                                           GTK_RESPONSE_CANCEL, accept, GTK_RESPONSE_ACCEPT,
                                                           nullptr),
                           {gtk.gtk_widget_destroy});
    gtk.gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_ACCEPT);
    AddFilters(gtk, Chooser(dialog), request.filter);
    std::error_code error;
    if (!request.folder.empty() && fs::is_directory(request.folder, error))
        gtk.gtk_file_chooser_set_current_folder(Chooser(dialog), request.folder.c_str());
    return dialog;
}

// Runs the dialog modally over the window and lets GTK take it off the screen before returning.
std::string Run(const GtkApi& gtk, GtkWidgetHandle& dialog) {
    Desktop_BelongToOwner(gtk, GTK_WINDOW(dialog.get()), DialogSize{DialogWidth, DialogHeight, 0, false});
    const gint response = Desktop_RunDialog(gtk, GTK_DIALOG(dialog.get()));
    std::string chosen;
    if (response == GTK_RESPONSE_ACCEPT) {
        std::unique_ptr<gchar, GFree> name(gtk.gtk_file_chooser_get_filename(Chooser(dialog)), {gtk.g_free});
        if (name)
            chosen = name.get();
    }
    dialog.reset();
    Desktop_GtkSettle(gtk);
    return chosen;
}

bool ConfirmOverwrite(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return Desktop_AskYesNo(name + " already exists.\nDo you want to replace it?", "Confirm Save As");
}
} // namespace

std::string Desktop_ChooseFileToOpen(const FileDialogRequest& request) {
    const GtkApi* gtk = Desktop_Gtk();
    if (!gtk)
        return "";
    GtkWidgetHandle dialog = MakeDialog(*gtk, GTK_FILE_CHOOSER_ACTION_OPEN, request, "_Open");
    const fs::path proposed = fs::path(request.folder) / request.defaultName;
    std::error_code error;
    if (!request.defaultName.empty() && fs::is_regular_file(proposed, error))
        gtk->gtk_file_chooser_set_filename(Chooser(dialog), proposed.c_str());
    return Run(*gtk, dialog);
}

std::string Desktop_ChooseFileToSave(const FileDialogRequest& request) {
    const GtkApi* gtk = Desktop_Gtk();
    if (!gtk)
        return "";
    const std::string extension = Dialog_DefaultExtension(request.filter);
    FileDialogRequest current = request;
    for (;;) {
        GtkWidgetHandle dialog = MakeDialog(*gtk, GTK_FILE_CHOOSER_ACTION_SAVE, current, "_Save");
        // The overwrite question comes after the default extension is added, so we ask it ourselves.
        gtk->gtk_file_chooser_set_do_overwrite_confirmation(Chooser(dialog), FALSE);
        gtk->gtk_file_chooser_set_current_name(Chooser(dialog), current.defaultName.c_str());
        std::string chosen = Run(*gtk, dialog);
        if (chosen.empty())
            return "";
        chosen = Dialog_WithDefaultExtension(chosen, extension);
        std::error_code error;
        if (!fs::exists(chosen, error) || ConfirmOverwrite(chosen))
            return chosen;
        current.folder = fs::path(chosen).parent_path().string();
        current.defaultName = fs::path(chosen).filename().string();
    }
}
