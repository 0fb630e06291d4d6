// Open and save dialogs on GTK 3's file chooser, belonging to the main window.
#pragma once
#include <string>

struct FileDialogRequest {
    std::string filter; // "label|pattern;pattern|..."
    std::string defaultName, folder, title;
};

// The chosen path, or "" when cancelled or when no dialog can be shown.
std::string Desktop_ChooseFileToOpen(const FileDialogRequest& request);
// As the open dialog; a name typed without an extension gets the filter's default one, and an
// existing target is confirmed before it is returned.
std::string Desktop_ChooseFileToSave(const FileDialogRequest& request);
