#include "platform/desktop/Desktop_FileDialog.h"
#include "Graphics_API/Dialog_Filter.h"
#include "platform/desktop/Desktop_Gtk.h"
#include "platform/desktop/Desktop_MessageBox.h"
#include <filesystem>
#include <memory>

namespace {
namespace fs = std::filesystem;

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GFree {
    void operator()(gchar* text) const { g_free(text); }
};
using NativeDialog = std::unique_ptr<GtkFileChooserNative, GObjectUnref>;

// The system dialog matched patterns without regard to case; "*.*" meant every file.
std::string CaseInsensitivePattern(const std::string& pattern) {
    if (pattern == "*.*")
        return "*";
    std::string result;
    for (const char c : pattern) {
        if (g_ascii_isalpha(c))
            result += std::string("[") + g_ascii_tolower(c) + g_ascii_toupper(c) + "]";
        else
            result += c;
    }
    return result;
}

void AddFilters(GtkFileChooser* chooser, const std::string& filter) {
    for (const DialogFilterEntry& entry : Dialog_ParseFilter(filter)) {
        GtkFileFilter* gtkFilter = gtk_file_filter_new();
        gtk_file_filter_set_name(gtkFilter, entry.label.c_str());
        for (const std::string& pattern : entry.patterns)
            gtk_file_filter_add_pattern(gtkFilter, CaseInsensitivePattern(pattern).c_str());
        gtk_file_chooser_add_filter(chooser, gtkFilter); // takes the floating reference
    }
}

NativeDialog MakeDialog(GtkFileChooserAction action, const FileDialogRequest& request, const char* accept) {
    NativeDialog dialog(
        gtk_file_chooser_native_new(request.title.c_str(), nullptr, action, accept, "_Cancel"));
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.get());
    AddFilters(chooser, request.filter);
    std::error_code error;
    if (!request.folder.empty() && fs::is_directory(request.folder, error))
        gtk_file_chooser_set_current_folder(chooser, request.folder.c_str());
    return dialog;
}

// Runs the dialog modally and lets GTK take it off the screen before returning.
std::string Run(const NativeDialog& dialog) {
    const gint response = gtk_native_dialog_run(GTK_NATIVE_DIALOG(dialog.get()));
    std::string chosen;
    if (response == GTK_RESPONSE_ACCEPT) {
        std::unique_ptr<gchar, GFree> name(gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog.get())));
        if (name)
            chosen = name.get();
    }
    gtk_native_dialog_hide(GTK_NATIVE_DIALOG(dialog.get()));
    Desktop_GtkSettle();
    return chosen;
}

bool ConfirmOverwrite(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return Desktop_AskYesNo(name + " already exists.\nDo you want to replace it?", "Confirm Save As");
}
} // namespace

std::string Desktop_ChooseFileToOpen(const FileDialogRequest& request) {
    if (!Desktop_GtkReady())
        return "";
    NativeDialog dialog = MakeDialog(GTK_FILE_CHOOSER_ACTION_OPEN, request, "_Open");
    const fs::path proposed = fs::path(request.folder) / request.defaultName;
    std::error_code error;
    if (!request.defaultName.empty() && fs::is_regular_file(proposed, error))
        gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(dialog.get()), proposed.c_str());
    return Run(dialog);
}

std::string Desktop_ChooseFileToSave(const FileDialogRequest& request) {
    if (!Desktop_GtkReady())
        return "";
    const std::string extension = Dialog_DefaultExtension(request.filter);
    FileDialogRequest current = request;
    for (;;) {
        NativeDialog dialog = MakeDialog(GTK_FILE_CHOOSER_ACTION_SAVE, current, "_Save");
        // The overwrite question comes after the default extension is added, so we ask it ourselves.
        gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(dialog.get()), FALSE);
        gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(dialog.get()), current.defaultName.c_str());
        std::string chosen = Run(dialog);
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
