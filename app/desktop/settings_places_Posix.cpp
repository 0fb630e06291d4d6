// $XDG_CONFIG_HOME (else ~/.config) for the settings, XDG_MUSIC_DIR for the music.
#include "app/desktop/settings_places.h"
#include <cstdlib>
#include <fstream>

namespace settings {
namespace {
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value == '/' ? value : "";
}

std::string ConfigHome() {
    std::string folder = Environment("XDG_CONFIG_HOME");
    return !folder.empty() || HomeFolder().empty() ? folder : HomeFolder() + "/.config";
}
} // namespace

std::string HomeFolder() {
    return Environment("HOME");
}

std::string SettingsFile() {
    const std::string config = ConfigHome();
    return config.empty() ? "" : config + "/morvane-radio-tuner/settings";
}

// XDG_MUSIC_DIR from user-dirs.dirs, as xdg-user-dir reads it: "$HOME/Music" or an absolute path.
std::string MusicFolder() {
    std::ifstream in(ConfigHome() + "/user-dirs.dirs");
    const std::string prefix = "XDG_MUSIC_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with(prefix) || line.back() != '"')
            continue;
        std::string folder = line.substr(prefix.size(), line.size() - prefix.size() - 1);
        if (folder.starts_with("$HOME"))
            folder = HomeFolder() + folder.substr(5);
        return folder;
    }
    return "";
}
} // namespace settings
