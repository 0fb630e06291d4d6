// File-system helpers shared by the built-in commands.
#pragma once
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace shell {

// Owns a file descriptor.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int Release();

  private:
    int fd_ = -1;
};

// A new file beside its final path, renamed over it by Commit; removed if never committed, so a
// failed or interrupted write leaves the final path as it was. Named "." + final name +
// ".morvane-tmp-" + 6 characters; one left by a killed writer is removed by the next one.
class TempFile {
  public:
    explicit TempFile(const std::string& finalPath);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();
    bool valid() const { return fd_.valid(); }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    // Closes the file, gives it the mode and renames it over the final path.
    bool Commit(mode_t mode);

  private:
    std::string finalPath_;
    std::string path_;
    UniqueFd fd_;
    bool committed_ = false;
};

bool WriteAll(int fd, std::string_view data);
// Appends the whole content of one descriptor to another.
bool CopyContent(int from, int to);

// The names in an open folder, without "." and "..".
std::vector<std::string> ListFolder(int folder);

bool IsDirectory(const std::string& path);
// The path a chain of symbolic links ends at (the path itself when it is no link).
std::string FollowLinks(const std::string& path);
bool Exists(const std::string& path);
std::string ParentFolder(const std::string& path);
std::string BaseName(std::string_view path);

// '*' and '?' as the command interpreter matches them, letters without regard to case. A byte
// whose `literal` flag is set (it came from a name) matches only itself, whatever it is. `steps`, when
// given, counts the comparisons made.
bool MatchWildcard(std::string_view pattern, std::string_view name,
                   const std::vector<bool>* literal = nullptr, size_t* steps = nullptr);
bool HasWildcard(std::string_view pattern, const std::vector<bool>* literal = nullptr);

} // namespace shell
