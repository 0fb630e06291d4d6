#include "app/desktop/settings.h"
#include "Support/Win32/Support_System.h"
#include "app/desktop/settings_places.h"
#include "platform/Platform.h"
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace settings {
namespace {
namespace fs = std::filesystem;

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
    std::ifstream in(System_Path(SettingsFile()));
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

// A folder worth starting in, ending with a separator, or "".
std::string Usable(const std::string& folder) {
    const fs::path path = System_Path(folder);
    std::error_code error;
    if (folder.empty() || !path.is_absolute() || Hidden(path) || !fs::is_directory(path, error))
        return "";
    return folder.back() == '/' || folder.back() == char(fs::path::preferred_separator)
               ? folder
               : folder + char(fs::path::preferred_separator);
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
    fs::create_directories(System_Path(file).parent_path(), error);
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
    const std::string bytes = text.str();
    System_ReplacingFile out(file);
    if (out.file() != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out.file()) == bytes.size())
        out.Commit();
}

std::optional<std::pair<int, int>> WindowPlace() {
    const auto& pixels = Remembered().window;
    if (!pixels)
        return std::nullopt;
    const int scale = CurrentPlatform().WindowScale();
    return std::pair{pixels->first / scale, pixels->second / scale};
}

void RememberWindowPlace(int x, int y) {
    // A place that did not move keeps its pixels, which a scale may not divide.
    if (WindowPlace() != std::pair{x, y}) {
        const int scale = CurrentPlatform().WindowScale();
        Remembered().window = {x * scale, y * scale};
    }
}

std::string ImportStartFolder() {
    for (const std::string& folder : {Remembered().importFolder, MusicFolder(), HomeFolder()}) {
        std::string usable = Usable(folder);
        if (!usable.empty())
            return usable;
    }
    return std::string(1, char(fs::path::preferred_separator));
}
} // namespace settings
