#include "Shell_Files.h"
#include "Shell_Words.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
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

namespace {
// Temporary files are named after their final file, so the next write to it finds them.
std::string TempPrefix(const std::string& finalPath) {
    // Appended piece by piece: GCC 12 at -O3 takes `"." + std::string&&` for an overlapping copy.
    std::string prefix(1, '.');
    prefix += BaseName(finalPath);
    prefix += ".morvane-tmp-";
    return prefix;
}

// Temporary files of this final path left by a writer that was killed: nobody holds their lock.
void RemoveStaleTemps(const std::string& finalPath) {
    std::string prefix = TempPrefix(finalPath);
    UniqueFd folder(::open(ParentFolder(finalPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) {
        return;
    }
    for (const std::string& name : ListFolder(folder.get())) {
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        UniqueFd stale(::openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (stale.valid() && ::flock(stale.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlinkat(folder.get(), name.c_str(), 0);
        }
    }
}
} // namespace

TempFile::TempFile(const std::string& finalPath) : finalPath_(finalPath) {
    RemoveStaleTemps(finalPath);
    std::string pattern = ParentFolder(finalPath) + "/" + TempPrefix(finalPath) + "XXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
        path_ = pattern;
        fd_ = UniqueFd(fd);
        // Held while the file is written: a locked temporary file is not stale.
        ::flock(fd, LOCK_EX);
    }
}

TempFile::~TempFile() {
    if (!path_.empty() && !committed_) {
        ::unlink(path_.c_str());
    }
}

// Renamed while still open and locked, so no other writer takes it for a stale one.
bool TempFile::Commit(mode_t mode) {
    if (!fd_.valid() || ::fchmod(fd_.get(), mode) != 0 || ::fsync(fd_.get()) != 0 ||
        ::rename(path_.c_str(), finalPath_.c_str()) != 0) {
        return false;
    }
    committed_ = true;
    return ::close(fd_.Release()) == 0;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t written = ::write(fd, data.data(), data.size());
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
        ssize_t got = ::read(from, buffer, sizeof buffer);
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

namespace {
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
} // namespace

std::vector<std::string> ListFolder(int folder) {
    std::vector<std::string> names;
    // The listing owns a duplicate, so the caller's descriptor stays open.
    UniqueFd listing(::dup(folder));
    std::unique_ptr<DIR, DirCloser> dir(listing.valid() ? ::fdopendir(listing.get()) : nullptr);
    if (!dir) {
        return names;
    }
    listing.Release();
    while (dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FollowLinks(const std::string& path) {
    std::string current = path;
    // As many links as the system itself follows before it gives up.
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
        if (length <= 0) {
            return current;
        }
        std::string next(target, static_cast<size_t>(length));
        current = next[0] == '/' ? next : ParentFolder(current) + "/" + next;
    }
    return current;
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string ParentFolder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(std::string_view path) {
    size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
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
