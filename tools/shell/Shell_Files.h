// File helpers shared by the built-in commands, on every system (Shell_FileSystem.h has the system's
// own calls).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// Owns a file descriptor (the C library's, on Windows too).
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

bool WriteAll(int fd, std::string_view data);
// Appends the whole content of one descriptor to another.
bool CopyContent(int from, int to);

bool IsDirectory(const std::string& path);
bool Exists(const std::string& path);
std::string ParentFolder(const std::string& path);
std::string BaseName(std::string_view path);
// Makes the folder and every missing folder above it; false when it exists already.
bool MakeFolders(const std::string& path);

// '*' and '?' as the command interpreter matches them, letters without regard to case. A byte
// whose `literal` flag is set (it came from a name) matches only itself, whatever it is. `steps`, when
// given, counts the comparisons made.
bool MatchWildcard(std::string_view pattern, std::string_view name,
                   const std::vector<bool>* literal = nullptr, size_t* steps = nullptr);
bool HasWildcard(std::string_view pattern, const std::vector<bool>* literal = nullptr);

} // namespace shell
