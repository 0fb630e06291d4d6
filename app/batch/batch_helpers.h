// The helper programs of batch mode come out of lib.win once per installed version, into a cache in
// the user's save area (helpers/<size and hash of lib.win>/), and are linked into a lib directory at
// every start instead of being unpacked again. Each cached file is checked against the size and hash
// noted when the cache was filled, at every use: a damaged or half-written cache is filled again.
#pragma once
#include <string>

namespace batch {
// The helpers in the running lib directory, from the cache of `saveArea` (filled first when it is
// missing or damaged). Returns the folder to link them from later (the cache, else the lib directory);
// "" (with the reason printed) when a helper could not be unpacked.
std::string PrepareHelpers(const std::string& saveArea);
// The cached helpers linked (or copied) into `lib`, which is made when missing.
bool LinkHelpers(const std::string& cache, const std::string& lib);
} // namespace batch
