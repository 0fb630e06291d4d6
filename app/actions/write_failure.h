// Why a file could not be written, as the system says it when we try: the tool learns an outcome only
// from the files left behind, so the cause of a missing one is asked of the folder it belongs in.
#pragma once
#include <cstdint>
#include <string>

namespace tool {
// A temporary file is made in `folder` and `bytes` reserved for it, then removed. The reason, in the
// tool's words ("no space is left on the disk"; "the container's folder is read-only" with `folder_noun`
// "the container's folder"), or "" when the folder takes it.
std::string write_failure(const std::string& folder, uint64_t bytes, const std::string& folder_noun);
// Why the file at `path` cannot be written over: "the <noun> is read-only", its folder's or disk's
// reason, or "" when nothing stands in the way. The noun names the file as the user knows it.
std::string overwrite_failure(const std::string& path, const std::string& noun);

// The words for each kind of failure, shared by the POSIX and the Windows side (write_failure_Windows.cpp).
enum class WriteProblem { NoSpace, ReadOnlyDisk, ReadOnlyFolder, ReadOnlyFile, MissingFolder, TooBig, Other };
// `subject` is the folder's noun, the file's noun for ReadOnlyFile, the system's words for Other.
std::string write_failure_text(WriteProblem problem, const std::string& subject);
} // namespace tool
