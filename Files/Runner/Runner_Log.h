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
// What stderr shows of each line (the file always gets the line itself): the line for a reader, or
// empty to leave it out. None set: the line itself.
using Runner_LogView = std::string (*)(const std::string& line);
void Runner_SetLogView(Runner_LogView view);
