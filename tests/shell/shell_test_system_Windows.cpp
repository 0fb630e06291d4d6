#include "Shell_Process.h"
#include "shell_test_support.h"
#include <windows.h>

const int NotFoundExit = 9009;
// Windows has no limit on the size of the files a process writes.
const bool CanLimitFileSize = false;
// Windows names hold no quote, '*', '?', '<', '>' or '|'.
const char* const UnusualName = "a & echo ran ^& (b) %APPDATA% 100%% ü";

const char* const TextLineEnd = "\r\n";

// libstdc++ makes no links on Windows; Wine 8 answers that it made one and makes none.
bool MakeLink(const fs::path& target, const fs::path& link, bool folder) {
    DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
    DWORD attributes = CreateSymbolicLinkW(link.c_str(), target.c_str(), flags)
                           ? GetFileAttributesW(link.c_str())
                           : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Started as tuner.dll starts it, with the caller's standard streams.
int RunLine(const std::string& line, const fs::path& folder, RunOptions) {
    std::optional<int> status =
        shell::RunChild({MORVANE_CMD, {"morvane-cmd", line}, Utf8(folder), false, -1, -1});
    return status ? *status : -1;
}
