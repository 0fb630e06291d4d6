// Where files live: the save area, the program folder, and the names the user picked in dialogs.
#pragma once
#include <string>
#include <string_view>

// Folders end with '/'. Both are set once at start-up.
void FileM_SetSaveArea(const std::string& folder);
void FileM_SetProgramFolder(const std::string& folder);
const std::string& FileM_SaveArea();
const std::string& FileM_ProgramFolder();

// The per-user application-data folder: $APPDATA, else $XDG_DATA_HOME, else ~/.local/share.
std::string FileM_DefaultAppData();
// The game's save area inside an application-data folder, ending with '/'.
std::string FileM_SaveAreaIn(const std::string& appData);

// Names use '\' or '/' as separators. Each returns a full POSIX path, or "" when not allowed.
// Writing resolution: relative names land in the save area; anything else only when allowed.
std::string FileM_ResolveWrite(std::string_view name);
// Reading resolution: program folder, current folder re-rooted, or a path the user picked.
std::string FileM_ResolveRead(std::string_view name);
// The writing resolution when that file exists, else the reading resolution.
std::string FileM_ResolveExisting(std::string_view name);
// True when something other than a folder exists at path.
bool FileM_IsFile(const std::string& path);

// Paths the user picked in open and save dialogs; the file functions accept them as they are.
void FileM_AddChosenForReading(const std::string& path);
void FileM_AddChosenForWriting(const std::string& path);
// Forgets every picked path (tests start from a clean state).
void FileM_ClearChosen();
