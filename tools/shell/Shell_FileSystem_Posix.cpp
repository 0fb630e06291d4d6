#include "Shell_FileSystem.h"
#include "Shell_Words.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {

const char Separator = '/';
const char* const NullDevice = "/dev/null";

std::string SystemFolder() {
    return "/";
}

bool IsSeparator(char c) {
    return c == '/';
}

size_t RootLength(std::string_view path) {
    return !path.empty() && path[0] == '/' ? 1 : 0;
}

// The lines write Windows-form paths: '\' is their separator.
std::string NativePath(std::string_view path) {
    return ToSlashes(path);
}

std::string Absolute(const std::string& cwd, std::string_view path) {
    if (RootLength(path) > 0) {
        return std::string(path);
    }
    std::string absolute = cwd;
    absolute += '/';
    absolute += path;
    return absolute;
}

std::optional<std::string> CurrentFolder() {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
        return std::nullopt;
    }
    return std::string(cwd);
}

namespace {
FileInfo FromStat(const struct stat& status) {
    FileInfo info;
    info.exists = true;
    info.folder = S_ISDIR(status.st_mode);
    info.regular = S_ISREG(status.st_mode);
    info.link = S_ISLNK(status.st_mode);
    info.writable = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    info.permissions = status.st_mode & 07777;
    info.size = static_cast<uint64_t>(status.st_size);
    info.id = {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
    return info;
}
} // namespace

FileInfo Inspect(const std::string& path, bool followLinks) {
    struct stat status;
    int result = followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
    return result == 0 ? FromStat(status) : FileInfo{};
}

FileInfo InspectOpen(int fd) {
    struct stat status;
    return ::fstat(fd, &status) == 0 ? FromStat(status) : FileInfo{};
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

std::optional<std::string> FullFolderPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (!IsDirectory(path) || ::realpath(path.c_str(), resolved) == nullptr) {
        return std::nullopt;
    }
    return std::string(resolved);
}

namespace {
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The names in an open folder; the caller's descriptor stays open.
std::vector<std::string> ListOpenFolder(int folder) {
    std::vector<std::string> names;
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
} // namespace

std::vector<std::string> ListFolder(const std::string& folder) {
    UniqueFd open(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return open.valid() ? ListOpenFolder(open.get()) : std::vector<std::string>{};
}

UniqueFd OpenForReading(const std::string& path) {
    return UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

UniqueFd OpenForWriting(const std::string& path, Opening opening) {
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    flags |= opening == Opening::Append     ? O_APPEND
             : opening == Opening::Truncate ? O_TRUNC
                                            : O_TRUNC | O_APPEND;
    return UniqueFd(::open(path.c_str(), flags, 0666));
}

Removal RemoveFile(const std::string& path, bool force) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return Removal::Skipped;
    }
    if (!force && !S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0) {
        return Removal::Refused;
    }
    return ::unlink(path.c_str()) == 0 ? Removal::Removed : Removal::Failed;
}

bool MakeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool RemoveEmptyFolder(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

namespace {
// Removes `name` inside the open folder `parent`, through descriptors so that no link on the way is
// followed.
bool RemoveTreeAt(int parent, const std::string& name) {
    struct stat info;
    if (::fstatat(parent, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        return ::unlinkat(parent, name.c_str(), 0) == 0;
    }
    UniqueFd folder(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        return false;
    }
    bool removed = true;
    for (const std::string& entry : ListOpenFolder(folder.get())) {
        removed = RemoveTreeAt(folder.get(), entry) && removed;
    }
    return removed && ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}
} // namespace

bool RemoveTree(const std::string& path) {
    UniqueFd parent(::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return parent.valid() && RemoveTreeAt(parent.get(), BaseName(path));
}

namespace {
// Temporary files of this final path left by a writer that was killed: nobody holds their lock.
void RemoveStaleTemps(const std::string& finalPath) {
    for (const std::string& path : TempFilesOf(finalPath)) {
        UniqueFd stale(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (stale.valid() && ::flock(stale.get(), LOCK_EX | LOCK_NB) == 0) {
            ::unlink(path.c_str());
        }
    }
}
} // namespace

TempFile::TempFile(const std::string& finalPath) : finalPath_(finalPath) {
    RemoveStaleTemps(finalPath);
    std::string pattern = ParentFolder(finalPath) + "/" + TempPrefix() + "XXXXXX";
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
bool TempFile::Commit(unsigned permissions) {
    if (!fd_.valid() || ::fchmod(fd_.get(), static_cast<mode_t>(permissions)) != 0 ||
        ::fsync(fd_.get()) != 0 || ::rename(path_.c_str(), finalPath_.c_str()) != 0) {
        return false;
    }
    committed_ = true;
    return ::close(fd_.Release()) == 0;
}

} // namespace shell
