#include "platform/Dialog_Filter.h"
#include "platform/desktop/Desktop_FileDialog.h"
#include "platform/desktop/Desktop_Owner_Windows.h"
#include "utf16.h"
#include <commdlg.h>

namespace {
// Room for a long path.
constexpr size_t NameCapacity = 32768;

// "label\0pattern;pattern\0...\0\0", as the common dialogs take filters.
std::wstring NativeFilter(const std::string& filter) {
    std::wstring native;
    for (const DialogFilterEntry& entry : Dialog_ParseFilter(filter)) {
        std::string patterns;
        for (const std::string& pattern : entry.patterns)
            patterns += (patterns.empty() ? "" : ";") + pattern;
        native += win::widen(entry.label) + L'\0' + win::widen(patterns) + L'\0';
    }
    return native + L'\0';
}

// Runs an open or save dialog owned by the main window; "" when cancelled.
template <typename Show>
std::string Run(const FileDialogRequest& request, DWORD flags, const std::wstring& extension, Show show) {
    const std::wstring filter = NativeFilter(request.filter);
    const std::wstring folder = win::widen(request.folder);
    const std::wstring title = win::widen(request.title);
    std::wstring name = win::widen(request.defaultName);
    name.resize(NameCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Desktop_OwnerWindow();
    Desktop_CentreOverOwner centred(dialog.hwndOwner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The current folder is the tool's own business, not the dialog's.
    dialog.Flags = flags | OFN_EXPLORER | OFN_LONGNAMES | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!show(&dialog))
        return "";
    return win::narrow(name.c_str());
}
} // namespace

std::string Desktop_ChooseFileToOpen(const FileDialogRequest& request) {
    return Run(request, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, L"", GetOpenFileNameW);
}

// The dialog adds the filter's default extension and asks before replacing a file.
std::string Desktop_ChooseFileToSave(const FileDialogRequest& request) {
    return Run(request, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
               win::widen(Dialog_DefaultExtension(request.filter)), GetSaveFileNameW);
}
