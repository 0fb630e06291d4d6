#include "app/desktop/verbose_log.h"
#include <regex>
#include <string_view>
#include <utility>

namespace {
struct Said {
    std::string_view runtime; // the line, or its beginning when it ends in a space
    std::string_view plainly; // empty: left out; the rest of the line follows a beginning
};

constexpr Said known[] = {
    {"Create Error Form", ""},
    {"Checking if INIFile exists at ", ""}, // the tool has no settings file of this kind
    {"RunnerLoadGame: ", ""},
    {"FAILED to load File ", "Could not read "},
    {"Get Resolution", ""},
    {"IFF wad found", ""},
    {"Process Chunk: ", ""},
    {"Create Window", "Opening the window"},
    {"Init Graphics", ""},
    {"IO Init", ""},
    {"Process Messages", ""},
    {"Splash!", ""},
    {"Start Frame", ""},
    {"Part Create Textures", ""},
    {"Debug Init Remote Interface", ""},
    {"VM Init", ""},
    {"Create Score Form", ""},
    {"Create Load Form", ""},
    {"Do The Work", ""},
    {"PrepareGame()", ""},
    {"Run_Start", "Started"},
    {"Room switch from ", ""},
    {"create stream ", ""},
    {"destroy stream ", ""},
    {"audio: output device ", "Sound goes to "},
    {"LoadLibraryA failed with error code ", "A library could not be loaded, error "},
};
} // namespace

std::string VerboseLine(const std::string& line) {
    const bool ended = line.ends_with('\n');
    const std::string_view text(line.data(), line.size() - (ended ? 1 : 0));
    // The banner carries the runtime's own build numbers; the tool's version means more here.
    static const std::pair<std::regex, const char*> reworded[] = {
        {std::regex(R"(v\d+\.\d+\(\d+\)\[r\d+\])"), "Morvane Radio Tuner " MORVANE_VERSION},
        {std::regex(R"(INIFile (.*) Exists, loading\.\.\.\.)"), "Reading settings from $1"},
        {std::regex(R"(Loaded File (.*)\((\d+)\))"), "Read $1 ($2 bytes)"},
    };
    for (const auto& [pattern, plainly] : reworded) {
        std::match_results<std::string_view::const_iterator> match;
        if (std::regex_match(text.begin(), text.end(), match, pattern)) {
            return match.format(plainly) + (ended ? "\n" : "");
        }
    }
    for (const Said& said : known) {
        const bool beginning = said.runtime.ends_with(' ');
        if (beginning ? !text.starts_with(said.runtime) : text != said.runtime) {
            continue;
        }
        if (said.plainly.empty()) {
            return "";
        }
        std::string shown(said.plainly);
        if (beginning) {
            shown += text.substr(said.runtime.size());
        }
        return shown + (ended ? "\n" : "");
    }
    return line;
}
