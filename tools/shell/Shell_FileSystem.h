// What the built-in commands ask of the file system, one side for each system. Paths are UTF-8 in
// the system's own form, as Session::Resolve gives them.
#pragma once
#include "Shell_Files.h"
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// The folder separator between a folder and a name it holds.
extern const char Separator;
bool IsSeparator(char c);
// How many leading characters name a root ("/", "C:\", "\\server\share\"); 0 for a relative path.
size_t RootLength(std::string_view path);
// A path of a command line in the system's form.
std::string NativePath(std::string_view path);
// `path` made absolute against the folder `cwd`.
std::string Absolute(const std::string& cwd, std::string_view path);
// The interpreter's current folder at its start, or nothing.
std::optional<std::string> CurrentFolder();
// The file that takes every write and keeps none.
extern const char* const NullDevice;
// A folder of the system's own, which a user's command line cannot change.
std::string SystemFolder();

// Which file a path names, whatever name it is reached by.
struct FileId {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FileId&) const = default;
};

struct FileInfo {
    bool exists = false;
    bool folder = false;
    bool regular = false;  // a plain file: no folder, device or pipe
    bool link = false;     // only seen when links are not followed
    bool writable = false; // some write permission (POSIX), not read-only (Windows)
    unsigned permissions = 0;
    uint64_t size = 0;
    FileId id;
};

FileInfo Inspect(const std::string& path, bool followLinks = true);
FileInfo InspectOpen(int fd);
// The path a chain of links ends at (the path itself when it is no link).
std::string FollowLinks(const std::string& path);
// The folder's own full path, or nothing when it is no folder.
std::optional<std::string> FullFolderPath(const std::string& path);
// The names in a folder, without "." and "..".
std::vector<std::string> ListFolder(const std::string& folder);

UniqueFd OpenForReading(const std::string& path);
enum class Opening {
    Truncate, // '>': the file starts empty
    Append,   // '>>': every write lands at the end, also from the programs that share the file
    Restart,  // empty first, then as Append
};
UniqueFd OpenForWriting(const std::string& path, Opening opening);

enum class Removal { Removed, Skipped, Refused, Failed };
// Removes a file (a link itself, never its target); folders are skipped, read-only files refused
// unless forced.
Removal RemoveFile(const std::string& path, bool force);
bool MakeFolder(const std::string& path);
bool RemoveEmptyFolder(const std::string& path);
// Removes a folder and everything in it. A link is removed itself and never followed, so nothing
// outside the tree is touched.
bool RemoveTree(const std::string& path);

// A new file beside its final path, renamed over it by Commit; removed if never committed, so a
// failed or interrupted write leaves the final path as it was. Named ".morvane-tmp-" + 6 characters,
// short whatever the final name (one near the system's limit takes no suffix), and held while it is
// written; one left by a killed writer is removed by the next write in its folder.
class TempFile {
  public:
    explicit TempFile(const std::string& finalPath);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();
    bool valid() const { return fd_.valid(); }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    // Gives the file the permissions (POSIX; Windows keeps none), puts it on disk and renames it over
    // the final path.
    bool Commit(unsigned permissions);

  private:
    std::string finalPath_;
    std::string path_;
    UniqueFd fd_;
    bool committed_ = false;
};

// What every temporary file's name begins with.
std::string TempPrefix();
// The paths of the temporary files in a final path's folder, held or not.
std::vector<std::string> TempFilesOf(const std::string& finalPath);

} // namespace shell
