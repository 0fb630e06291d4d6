// Calling built-ins by name, temporary folders and the captured runtime log.
#pragma once
#include "Code/Code_Variable.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Registers the string and file families (once per process).
void RegisterStringAndFileFamilies();
// Registers them if needed, then calls the named built-in.
RValue CallByName(const std::string& name, std::vector<RValue> args = {});

// A fresh folder removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Routes the runtime log into a file for the lifetime of the object.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    std::string Text() const;

  private:
    TempFolder folder_;
};

void WriteFile(const std::filesystem::path& path, const std::string& content);
std::string ReadFile(const std::filesystem::path& path);

// A save area, a program folder, a current folder and a folder outside all of them, below one
// temporary root; the current folder is restored afterwards.
class FileAreaTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    TempFolder root_;
    std::filesystem::path save_;
    std::filesystem::path program_;
    std::filesystem::path current_;
    std::filesystem::path outside_;

  private:
    std::filesystem::path previousCurrent_;
};
