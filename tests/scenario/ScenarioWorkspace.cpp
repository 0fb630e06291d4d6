#include "ScenarioWorkspace.h"
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

ScenarioWorkspace::ScenarioWorkspace(const std::string& binFolder, bool keep, const std::string& root)
    : keep_(keep) {
    std::string pattern = (fs::temp_directory_path() / "morvane-scenario-XXXXXX").string();
    if (!root.empty()) {
        std::error_code error;
        if (!fs::create_directory(root, error)) {
            throw std::runtime_error("cannot make the folder " + root);
        }
        pattern = root;
    } else if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    root_ = pattern;
    fs::create_directories(AppData());
    fs::create_directories(Program());
    fs::create_directories(Work());
    fs::create_directories(Home());
    for (const char* name : {"tuner.dll", "morvane-cmd", "lib.win"}) {
        fs::path source = fs::path(binFolder) / name;
        if (fs::exists(source)) {
            fs::copy_file(source, fs::path(Program()) / name);
        }
    }
    setenv("APPDATA", AppData().c_str(), 1);
    setenv("HOME", Home().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (Home() + "/.config").c_str(), 1);
}

ScenarioWorkspace::~ScenarioWorkspace() {
    if (!keep_) {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
}
