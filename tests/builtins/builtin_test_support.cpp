#include "builtin_test_support.h"
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Runner/Runner_Log.h"
#include "Support/Win32/Support_FileM.h"
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

void RegisterStringAndFileFamilies() {
    static const bool registered = [] {
        Register_String();
        Register_File();
        return true;
    }();
    (void)registered;
}

RValue CallByName(const std::string& name, std::vector<RValue> args) {
    RegisterStringAndFileFamilies();
    int index = Function_Find(name);
    EXPECT_GE(index, 0) << name << " is not registered";
    RValue result;
    if (index >= 0) {
        Function_Call(nullptr, nullptr, result, static_cast<int>(args.size()), index, args.data());
    }
    return result;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "morvane-builtins-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = std::filesystem::canonical(pattern);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

LogCapture::LogCapture() {
    Runner_SetLogToStderr(false);
    Runner_OpenLogFile((folder_.path() / "runner.log").string());
}

LogCapture::~LogCapture() {
    Runner_CloseLogFile();
    Runner_SetLogToStderr(true);
}

std::string LogCapture::Text() const {
    return ReadFile(folder_.path() / "runner.log");
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void FileAreaTest::SetUp() {
    save_ = root_.path() / "appdata" / "Morvane_Radio_Tuner";
    program_ = root_.path() / "program";
    current_ = root_.path() / "current";
    outside_ = root_.path() / "outside";
    for (const auto& folder : {save_ / "lib", program_, current_, outside_}) {
        std::filesystem::create_directories(folder);
    }
    FileM_SetSaveArea(save_.string());
    FileM_SetProgramFolder(program_.string());
    FileM_ClearChosen();
    previousCurrent_ = std::filesystem::current_path();
    std::filesystem::current_path(current_);
}

void FileAreaTest::TearDown() {
    std::filesystem::current_path(previousCurrent_);
    FileM_ClearChosen();
}
