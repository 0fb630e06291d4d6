#include "Runner/Runner_Log.h"
#include "Support/Win32/Support_System.h"
#include "utf16.h"
#include <algorithm>
#include <cstdlib>
#include <locale.h>
#include <memory>
#include <shlobj.h>
#include <windows.h>

namespace {
std::wstring Wide(const std::string& text) {
    return win::wide_path(text);
}
} // namespace

std::filesystem::path System_Path(std::string_view utf8) {
    return std::filesystem::path(win::widen(utf8));
}

std::string System_PathText(const std::filesystem::path& path) {
    return win::narrow(path.native());
}

std::string System_NativeSeparators(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

double System_ParseNumber(const char* text) {
    static const _locale_t c = _create_locale(LC_ALL, "C");
    return _strtod_l(text, nullptr, c);
}

// Written by the system in the user's own date and time format, as Windows programs do.
std::optional<std::string> System_LocalDatetimeText(std::time_t time) {
    std::tm parts{};
    if (localtime_s(&parts, &time) != 0) {
        return std::nullopt;
    }
    SYSTEMTIME moment{};
    moment.wYear = static_cast<WORD>(parts.tm_year + 1900);
    moment.wMonth = static_cast<WORD>(parts.tm_mon + 1);
    moment.wDay = static_cast<WORD>(parts.tm_mday);
    moment.wHour = static_cast<WORD>(parts.tm_hour);
    moment.wMinute = static_cast<WORD>(parts.tm_min);
    moment.wSecond = static_cast<WORD>(parts.tm_sec);
    wchar_t date[128];
    wchar_t clock[128];
    if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &moment, nullptr, date, 128, nullptr) ==
            0 ||
        GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &moment, nullptr, clock, 128) == 0) {
        return std::nullopt;
    }
    return win::narrow(date) + " " + win::narrow(clock);
}

void System_SetEnvironment(const char* name, const std::string& value) {
    // Both copies: the process's own (children inherit it) and the C library's getenv.
    SetEnvironmentVariableW(win::widen(name).c_str(), win::widen(value).c_str());
    _wputenv_s(win::widen(name).c_str(), win::widen(value).c_str());
}

std::string System_ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return System_PathText(std::filesystem::current_path()) + "\\";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return win::narrow(path.substr(0, path.find_last_of(L'\\') + 1));
}

std::string System_DefaultAppData() {
    wchar_t* folder = nullptr;
    std::string result;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &folder) == S_OK) {
        result = win::narrow(folder);
    }
    CoTaskMemFree(folder);
    return result;
}

bool System_SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(System_Path(a), System_Path(b), error);
}

std::string System_ResolvedPath(const std::string& name) {
    std::error_code error;
    std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(System_Path(name), error), error);
    return error ? name : System_PathText(resolved);
}

System_ReplacingFile::System_ReplacingFile(const std::string& target) : target_(System_Path(target)) {
    // A short name beside the target, whatever the target's name: one near the system's limit takes no
    // suffix.
    const std::wstring temp =
        (target_.parent_path() / (L".morvane-copy-" + std::to_wstring(GetCurrentProcessId()))).native();
    file_ = _wfopen(temp.c_str(), L"wbxN");
    if (file_ != nullptr) {
        temp_ = win::narrow(temp);
    }
}

System_ReplacingFile::~System_ReplacingFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    if (!temp_.empty()) {
        DeleteFileW(Wide(temp_).c_str());
    }
}

bool System_ReplacingFile::Commit() {
    bool written = std::fflush(file_) == 0;
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    // MOVEFILE_WRITE_THROUGH returns once the move is on disk.
    if (!written || !closed ||
        !MoveFileExW(Wide(temp_).c_str(), Wide(System_PathText(target_)).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return false;
    }
    temp_.clear();
    return true;
}

void* System_LoadLibrary(const std::string& path) {
    // The library's own folder is searched for what it needs, not the program's.
    HMODULE module = LoadLibraryExW(Wide(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        const DWORD code = GetLastError();
        Runner_Log("LoadLibraryA failed with error code %lu\n", code);
        Runner_Log("%s\n", win::error_text(code).c_str());
    }
    return reinterpret_cast<void*>(module);
}

void* System_FindFunction(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void System_FreeLibrary(void* module) {
    FreeLibrary(static_cast<HMODULE>(module));
}

System_CurrentFolderScope::System_CurrentFolderScope(const std::string& folder) {
    std::error_code error;
    previous_ = std::filesystem::current_path(error);
    if (!folder.empty() && !SetCurrentDirectoryW(win::widen(folder).c_str())) {
        Runner_Log("Could not enter %s\n", folder.c_str());
    }
}

System_CurrentFolderScope::~System_CurrentFolderScope() {
    std::error_code error;
    if (!previous_.empty()) {
        std::filesystem::current_path(previous_, error);
    }
}
