// The runtime's debug log: every line goes to stderr and to the log file in the save area.
#pragma once
#include "platform/Printf_Format.h"
#include <string>

void Runner_Log(const char* format, ...) MORVANE_PRINTF_FORMAT(1, 2);
// Opens the log file (appending). The first one opened also gets the lines logged before it.
void Runner_OpenLogFile(const std::string& path);
void Runner_CloseLogFile();
// Tests silence stderr output (the file, if open, still receives lines).
void Runner_SetLogToStderr(bool enabled);
