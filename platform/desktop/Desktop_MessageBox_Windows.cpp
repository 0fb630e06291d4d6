#include "platform/desktop/Desktop_MessageBox.h"
#include "platform/desktop/Desktop_Owner_Windows.h"
#include "utf16.h"

void Desktop_ShowMessage(const std::string& text, const std::string& caption) {
    const HWND owner = Desktop_OwnerWindow();
    Desktop_CentreOverOwner centred(owner);
    MessageBoxW(owner, win::widen(text).c_str(), win::widen(caption).c_str(), MB_OK | MB_ICONINFORMATION);
}

// Without a Cancel button, Escape and the close button do nothing: the question stays open.
bool Desktop_AskYesNo(const std::string& text, const std::string& caption) {
    const HWND owner = Desktop_OwnerWindow();
    Desktop_CentreOverOwner centred(owner);
    return MessageBoxW(owner, win::widen(text).c_str(), win::widen(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}
