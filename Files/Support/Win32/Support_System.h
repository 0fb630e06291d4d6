#pragma once
// The calls that differ between POSIX and Windows below the runtime: one declaration each,
// Support_System_Posix.cpp and Support_System_Windows.cpp behind them. Text is UTF-8 on both.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A path from UTF-8 text and back (Windows paths are UTF-16 inside).
std::filesystem::path System_Path(std::string_view utf8);
std::string System_PathText(const std::filesystem::path& path);
// A name with either separator written with the system's own ('/' on POSIX, '\\' on Windows).
std::string System_NativeSeparators(std::string name);

// Number text read in the C locale, whatever locale a desktop library switched the process to.
double System_ParseNumber(const char* text);
// A moment as the user's locale writes a date and time; nothing when it is out of range.
std::optional<std::string> System_LocalDatetimeText(std::time_t time);

void System_SetEnvironment(const char* name, const std::string& value);
// The executable's folder with a trailing separator (the current folder when it cannot be found).
std::string System_ExecutableFolder();
// The user's roaming application data folder when APPDATA is not set.
std::string System_DefaultAppData();
bool System_SameFile(const std::string& a, const std::string& b);
// The full path the system means by a name: made absolute, links followed, and ".." taken after a link
// as the system takes it (out of the folder the link points to), never as text. The name itself when
// it cannot be resolved.
std::string System_ResolvedPath(const std::string& name);

// A file written beside a target and put in its place only when complete: a failed write leaves
// the old target (or none). A replaced target keeps its permissions.
class System_ReplacingFile {
  public:
    explicit System_ReplacingFile(const std::string& target);
    ~System_ReplacingFile();
    System_ReplacingFile(const System_ReplacingFile&) = delete;
    System_ReplacingFile& operator=(const System_ReplacingFile&) = delete;
    std::FILE* file() const { return file_; }
    bool Commit();

  private:
    std::filesystem::path target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
};

// A loaded library (a shared object or a DLL); it stays loaded unless released.
void* System_LoadLibrary(const std::string& path);
void* System_FindFunction(void* module, const char* name);
void System_FreeLibrary(void* module);

// Makes a folder the current one and goes back to the previous one when it ends.
class System_CurrentFolderScope {
  public:
    explicit System_CurrentFolderScope(const std::string& folder);
    ~System_CurrentFolderScope();
    System_CurrentFolderScope(const System_CurrentFolderScope&) = delete;
    System_CurrentFolderScope& operator=(const System_CurrentFolderScope&) = delete;

  private:
    std::filesystem::path previous_;
};
