// What the tool last wrote into each container, kept in the user's data folder (never beside the
// game's files): Replace tells its own output from a new original by it, such as one a game update put
// back over a container the tool had replaced.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tool {
// A file's content in brief: its size and a 64-bit hash of its bytes.
struct Fingerprint {
    uint64_t size = 0;
    uint64_t hash = 0;
    bool operator==(const Fingerprint&) const = default;
};
// Nothing when the file cannot be read.
std::optional<Fingerprint> fingerprint(const std::string& path);

// Written before the tool puts a new container in place, so a kill right after leaves a true record.
bool remember_written(const std::string& container, const Fingerprint& written);
// What the tool last wrote into the container, or nothing when it has no record of it.
std::optional<Fingerprint> last_written(const std::string& container);
// After a restore the container is the game's own again.
void forget_written(const std::string& container);
} // namespace tool
