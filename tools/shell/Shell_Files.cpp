#include "Shell_Files.h"
#include "Shell_FileSystem.h"
#include "Shell_Words.h"
#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace shell {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.Release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int UniqueFd::Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        // In pieces a C library that counts in int can take.
        size_t piece = std::min<size_t>(data.size(), 1 << 30);
        auto written = ::write(fd, data.data(), piece);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool CopyContent(int from, int to) {
    char buffer[65536];
    for (;;) {
        auto got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (!WriteAll(to, std::string_view(buffer, static_cast<size_t>(got)))) {
            return false;
        }
    }
}

bool IsDirectory(const std::string& path) {
    return Inspect(path).folder;
}

bool Exists(const std::string& path) {
    return Inspect(path).exists;
}

namespace {
size_t LastSeparator(std::string_view path) {
    for (size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) {
            return i - 1;
        }
    }
    return std::string_view::npos;
}
} // namespace

// A root keeps its separator: the parent of "/x" is "/", of "C:\x" "C:\".
std::string ParentFolder(const std::string& path) {
    size_t separator = LastSeparator(path);
    if (separator == std::string::npos) {
        return ".";
    }
    return path.substr(0, std::max(separator, RootLength(path)));
}

std::string BaseName(std::string_view path) {
    size_t separator = LastSeparator(path);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

bool MakeFolders(const std::string& path) {
    std::string parent = ParentFolder(path);
    if (parent != path && parent != "." && !Exists(parent)) {
        // Another program may make it meanwhile; only the last folder's result counts.
        MakeFolders(parent);
    }
    return MakeFolder(path);
}

std::string TempPrefix() {
    return ".morvane-tmp-";
}

std::vector<std::string> TempFilesOf(const std::string& finalPath) {
    std::string prefix = TempPrefix();
    std::string folder = ParentFolder(finalPath);
    std::vector<std::string> paths;
    for (const std::string& name : ListFolder(folder)) {
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
            paths.push_back(Absolute(folder, name));
        }
    }
    return paths;
}

namespace {
bool IsWild(std::string_view pattern, const std::vector<bool>* literal, size_t at, char wildcard) {
    return pattern[at] == wildcard && (literal == nullptr || !(*literal)[at]);
}
} // namespace

bool HasWildcard(std::string_view pattern, const std::vector<bool>* literal) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (IsWild(pattern, literal, i, '*') || IsWild(pattern, literal, i, '?')) {
            return true;
        }
    }
    return false;
}

// Two positions and the last star to fall back to: time in proportion to pattern times name at
// worst, however many stars there are.
bool MatchWildcard(std::string_view pattern, std::string_view name, const std::vector<bool>* literal,
                   size_t* steps) {
    size_t p = 0;
    size_t n = 0;
    size_t star = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (steps != nullptr) {
            ++*steps;
        }
        if (p < pattern.size() && IsWild(pattern, literal, p, '*')) {
            star = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (IsWild(pattern, literal, p, '?') || SameText(pattern.substr(p, 1), name.substr(n, 1)))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && IsWild(pattern, literal, p, '*')) {
        ++p;
    }
    return p == pattern.size();
}

} // namespace shell
