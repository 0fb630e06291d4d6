// Running command lines through the real interpreter executable, and temporary folders.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A fresh folder (with a blank and a non-ASCII letter in its name) removed at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// The interpreter's "not a command" status as an exit code (exit codes keep 8 bits on POSIX).
extern const int NotFoundExit;

struct RunOptions {
    // Largest file the interpreter may write, to make writes fail part-way (where the system can).
    std::optional<long> fileSizeLimit;
};
extern const bool CanLimitFileSize;
// A file name full of the interpreter's operators, quotes, expansions and wildcards, as far as the
// system allows them in a name.
extern const char* const UnusualName;

// Runs morvane-cmd with the line in `folder`; its exit status.
int RunLine(const std::string& line, const fs::path& folder, RunOptions options = {});

// Paths and UTF-8 text both ways (a narrow path is not UTF-8 on every system).
std::string Utf8(const fs::path& path);
fs::path FromUtf8(const std::string& text);

void WriteFile(const fs::path& path, const std::string& content);
std::string ReadFile(const fs::path& path);
// The names in a folder, sorted.
std::string Listing(const fs::path& folder);
// Names sorted and joined as Listing joins them.
std::string Sorted(std::vector<std::string> names);
// A symbolic link at `link` to `target`; false when the system refuses this user one.
bool MakeLink(const fs::path& target, const fs::path& link, bool folder);
// How a text written by a C program ends its lines on this system.
extern const char* const TextLineEnd;
// The probe program (shell_probe.cpp) in the folder as "<name>.exe", so a line can run it.
void InstallProbe(const fs::path& folder, const std::string& name);
