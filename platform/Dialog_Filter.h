// The file dialogs' filter text: "label|pattern;pattern|label|pattern...".
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct DialogFilterEntry {
    std::string label;
    std::vector<std::string> patterns; // as written, e.g. "*.sab"
};

std::vector<DialogFilterEntry> Dialog_ParseFilter(std::string_view filter);
// What a save dialog appends to a name typed without an extension: the text after the first "."
// that follows the first "|", up to the next "|" ("mp3" for "MP3 Audio (*.mp3)|*.mp3|...").
std::string Dialog_DefaultExtension(std::string_view filter);
// The name with "." + extension appended when its last path component has no extension.
std::string Dialog_WithDefaultExtension(const std::string& path, std::string_view extension);
