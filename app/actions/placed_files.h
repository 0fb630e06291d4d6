// The tool itself puts every result beside a user's files, under the folder lock and after its checks:
// the helper programs write only into the work folder, so nothing they do can reach a user's file.
#pragma once
#include <string>

namespace tool {
// `from` copied into a new, short-named file in `to`'s folder, put on disk and renamed over `to`,
// keeping the owner, group and mode of the file it replaces. False when any step failed: `to` is then
// as it was. A link at `to` is followed: the file it points to is replaced.
bool place_copy(const std::string& from, const std::string& to);
// A name that fits in its folder: the system's limit on one name (255 bytes on Linux, 255 UTF-16
// units on Windows).
bool name_fits(const std::string& path);
} // namespace tool
