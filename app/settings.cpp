#include "app/settings.h"
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace settings {
namespace {
namespace fs = std::filesystem;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value == '/' ? value : "";
}

std::string Home() {
    return Environment("HOME");
}

std::string ConfigHome() {
    std::string folder = Environment("XDG_CONFIG_HOME");
    return !folder.empty() || Home().empty() ? folder : Home() + "/.config";
}

std::string SettingsFile() {
    const std::string config = ConfigHome();
    return config.empty() ? "" : config + "/morvane-radio-tuner/settings";
}

void Read(const std::string& key, const std::string& value, Values& values) {
    if (key == "volume") {
        // Whatever locale the process is in.
        double volume = -1;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), volume);
        if (error == std::errc() && end == value.data() + value.size() && volume >= 0 && volume <= 1)
            values.volume = volume;
    } else if (key == "window") {
        int x = 0, y = 0;
        char rest = 0;
        if (std::sscanf(value.c_str(), "%d,%d%c", &x, &y, &rest) == 2)
            values.window = {x, y};
    } else if (key == "import-folder") {
        values.importFolder = value;
    }
}

Values Load() {
    Values values;
    std::ifstream in(SettingsFile());
    for (std::string line; std::getline(in, line);) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            Read(line.substr(0, equals), line.substr(equals + 1), values);
    }
    return values;
}

bool Hidden(const fs::path& folder) {
    for (const fs::path& part : folder)
        if (part.native().size() > 1 && part.native()[0] == '.' && part != "..")
            return true;
    return false;
}

// A folder worth starting in, as "folder/", or "".
std::string Usable(const std::string& folder) {
    std::error_code error;
    if (folder.empty() || folder[0] != '/' || Hidden(folder) || !fs::is_directory(folder, error))
        return "";
    return folder.back() == '/' ? folder : folder + "/";
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
            folder = Home() + folder.substr(5);
        return folder;
    }
    return "";
}
} // namespace

Values& Remembered() {
    static Values values = Load();
    return values;
}

void Save() {
    const std::string file = SettingsFile();
    if (file.empty())
        return;
    std::error_code error;
    fs::create_directories(fs::path(file).parent_path(), error);
    const Values& values = Remembered();
    std::ostringstream text;
    text.imbue(std::locale::classic());
    if (values.volume)
        text << "volume=" << *values.volume << "\n";
    if (values.window)
        text << "window=" << values.window->first << "," << values.window->second << "\n";
    // A line feed in a folder's name would end its line early: such a folder is not kept.
    if (!values.importFolder.empty() && values.importFolder.find('\n') == std::string::npos)
        text << "import-folder=" << values.importFolder << "\n";
    const std::string partial = file + ".new";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << text.str();
        if (!out.flush())
            return;
    }
    fs::rename(partial, file, error);
}

std::string ImportStartFolder() {
    for (const std::string& folder : {Remembered().importFolder, MusicFolder(), Home()}) {
        std::string usable = Usable(folder);
        if (!usable.empty())
            return usable;
    }
    return "/";
}
} // namespace settings
