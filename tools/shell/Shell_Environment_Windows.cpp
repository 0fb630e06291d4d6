#include "Shell_Variables.h"
#include "utf16.h"
#include <windows.h>

namespace shell {

// The process's own environment, which children inherit; Windows compares its names without
// regard to case.
std::optional<std::string> EnvironmentVariable(std::string_view name) {
    std::wstring wideName = win::widen(name);
    SetLastError(ERROR_SUCCESS);
    DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        // An empty value is defined; a missing one is not.
        return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
    }
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    if (length == 0 || length >= size) {
        return std::nullopt;
    }
    value.resize(length);
    return win::narrow(value);
}

} // namespace shell
