// Running command lines through the real interpreter executable, and temporary folders.
#pragma once
#include <filesystem>
#include <optional>
#include <string>

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

// The interpreter's "not a command" status as an exit code (exit codes keep 8 bits).
constexpr int NotFoundExit = 9009 & 0xFF;

struct RunOptions {
    // Largest file the interpreter may write, to make writes fail part-way.
    std::optional<long> fileSizeLimit;
};

// Runs morvane-cmd with the line in `folder`; its exit status.
int RunLine(const std::string& line, const fs::path& folder, RunOptions options = {});

void WriteFile(const fs::path& path, const std::string& content);
std::string ReadFile(const fs::path& path);
// The names in a folder, sorted.
std::string Listing(const fs::path& folder);
// Copies a system program into the folder under "<name>.exe", so a line can run it.
void InstallProgram(const std::string& systemProgram, const fs::path& folder, const std::string& name);
