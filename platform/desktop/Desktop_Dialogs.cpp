// The desktop backend's modal dialogs and boxes.
#include "platform/desktop/Desktop_FileDialog.h"
#include "platform/desktop/Desktop_MessageBox.h"
#include "platform/desktop/Desktop_Platform.h"

std::string DesktopPlatform::OpenFileDialog(const std::string& filter, const std::string& defaultName,
                                            const std::string& folder, const std::string& title) {
    return Desktop_ChooseFileToOpen(FileDialogRequest{filter, defaultName, folder, title});
}

std::string DesktopPlatform::SaveFileDialog(const std::string& filter, const std::string& defaultName,
                                            const std::string& folder, const std::string& title) {
    return Desktop_ChooseFileToSave(FileDialogRequest{filter, defaultName, folder, title});
}

void DesktopPlatform::ShowMessage(const std::string& text, const std::string& caption) {
    Desktop_ShowMessage(text, caption);
}

bool DesktopPlatform::ShowQuestion(const std::string& text, const std::string& caption) {
    return Desktop_AskYesNo(text, caption);
}
