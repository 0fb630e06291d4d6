// Where the settings live and where a first Import starts: the system's own folders for them.
#pragma once
#include <string>

namespace settings {
// The settings file; "" when the system gives no place for it.
std::string SettingsFile();
// The user's music folder and home folder; "" when unknown.
std::string MusicFolder();
std::string HomeFolder();
} // namespace settings
