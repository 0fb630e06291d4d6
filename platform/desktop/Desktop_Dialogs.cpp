// The desktop backend's modal dialogs and boxes, each a modal wait.
#include "platform/desktop/Desktop_FileDialog.h"
#include "platform/desktop/Desktop_MessageBox.h"
#include "platform/desktop/Desktop_ModalWait.h"
#include "platform/desktop/Desktop_Platform.h"

DesktopPlatform::ModalWait::~ModalWait() {
    SDL_ResetKeyboard();
    platform_.PumpMessages();
}

template <typename Work> auto DesktopPlatform::Modal(Work work) {
    ModalWait wait(*this);
    WindowServiceSource service([this] { return PumpMessages(); });
    return work();
}

std::string DesktopPlatform::OpenFileDialog(const std::string& filter, const std::string& defaultName,
                                            const std::string& folder, const std::string& title) {
    return Modal([&] {
        return Desktop_ChooseFileToOpen(FileDialogRequest{filter, defaultName, folder, title});
    });
}

std::string DesktopPlatform::SaveFileDialog(const std::string& filter, const std::string& defaultName,
                                            const std::string& folder, const std::string& title) {
    return Modal([&] {
        return Desktop_ChooseFileToSave(FileDialogRequest{filter, defaultName, folder, title});
    });
}

void DesktopPlatform::ShowMessage(const std::string& text, const std::string& caption) {
    Modal([&] { Desktop_ShowMessage(text, caption); });
}

bool DesktopPlatform::ShowQuestion(const std::string& text, const std::string& caption) {
    return Modal([&] { return Desktop_AskYesNo(text, caption); });
}
