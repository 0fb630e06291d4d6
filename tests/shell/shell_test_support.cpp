#include "shell_test_support.h"
#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

TempFolder::TempFolder() {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        fs::path candidate = fs::temp_directory_path() / FromUtf8("shell test ü " + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
        }
    }
    if (path_.empty()) {
        throw std::runtime_error("no temporary folder");
    }
}

namespace {
// What can be removed goes; false when something stays. Not fs::remove_all: libstdc++ 12 on Windows
// spins in it for ever when one file cannot be removed.
bool RemoveAll(const fs::path& path) {
    std::error_code error;
    bool removed = true;
    if (fs::is_directory(fs::symlink_status(path, error))) {
        for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
            removed = RemoveAll(entry.path()) && removed;
        }
    }
    return fs::remove(path, error) && removed;
}
} // namespace

// Wine lets go of the files of a program that has ended (its output, its current folder) a moment
// after the wait for it has returned, so the removal is tried again for a while.
TempFolder::~TempFolder() {
    for (int attempt = 0; attempt < 50 && !RemoveAll(path_); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

std::string Utf8(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path FromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(Utf8(entry.path().filename()));
    }
    return Sorted(std::move(names));
}

std::string Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : " ") + name;
    }
    return joined;
}

void InstallProbe(const fs::path& folder, const std::string& name) {
    fs::copy_file(FromUtf8(SHELL_PROBE), folder / FromUtf8(name + ".exe"),
                  fs::copy_options::overwrite_existing);
}
