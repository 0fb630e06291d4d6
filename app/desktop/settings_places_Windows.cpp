// The known folders: the roaming application data (or %APPDATA%, as the runtime's save area takes it)
// for the settings, Music and the profile for Import.
#include "Support/Win32/Support_FileM.h"
#include "app/desktop/settings_places.h"
#include "utf16.h"
#include <shlobj.h>
#include <windows.h>

namespace settings {
namespace {
std::string KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* folder = nullptr;
    std::string result;
    if (SHGetKnownFolderPath(id, 0, nullptr, &folder) == S_OK)
        result = win::narrow(folder);
    CoTaskMemFree(folder);
    return result;
}
} // namespace

std::string SettingsFile() {
    const std::string appData = FileM_DefaultAppData();
    return appData.empty() ? "" : appData + "\\morvane-radio-tuner\\settings";
}

std::string MusicFolder() {
    return KnownFolder(FOLDERID_Music);
}

std::string HomeFolder() {
    return KnownFolder(FOLDERID_Profile);
}
} // namespace settings
