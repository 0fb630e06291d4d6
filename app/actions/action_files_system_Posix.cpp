#include "app/actions/action_files.h"
#include "app/actions/container_lock.h"
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tool {
namespace {
FileState StateOf(const struct stat& info) {
    return FileState{true, static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                     static_cast<uint64_t>(info.st_size),
                     int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec};
}

int Descriptor(intptr_t handle) {
    return static_cast<int>(handle);
}
} // namespace

MappedFile::MappedFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return;
    }
    size_ = static_cast<size_t>(info.st_size);
    if (size_ == 0) {
        bytes_ = std::string_view();
    } else if (void* map = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0); map != MAP_FAILED) {
        map_ = map;
        bytes_ = std::string_view(static_cast<const char*>(map), size_);
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (map_ != nullptr) {
        ::munmap(map_, size_);
    }
}

OpenFile::OpenFile(const std::string& path) : handle_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

OpenFile::~OpenFile() {
    if (valid()) {
        ::close(Descriptor(handle_));
    }
}

int64_t OpenFile::ReadAt(char* data, size_t size, uint64_t offset) const {
    size_t done = 0;
    while (done < size) {
        ssize_t got =
            ::pread(Descriptor(handle_), data + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

int64_t OpenFile::Size() const {
    struct stat info;
    return valid() && ::fstat(Descriptor(handle_), &info) == 0 ? int64_t{info.st_size} : -1;
}

FileState StateOf(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? StateOf(info) : FileState{};
}

// The old file stays open: its bytes are readable through the descriptor after a rename over it.
struct KeptFile::Held {
    int fd = -1;
    mode_t mode = 0600;
    ~Held() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

namespace {
constexpr size_t Block = 1 << 20;

// The whole of `from` into a new, short-named file beside `path` (a name near the system's limit takes
// no suffix), renamed over it.
bool CopyOver(int from, const std::string& path, mode_t mode) {
    const size_t slash = path.find_last_of('/');
    std::string temporary =
        (slash == std::string::npos ? "" : path.substr(0, slash + 1)) + ".morvane-undo-XXXXXX";
    int to = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (to < 0) {
        return false;
    }
    std::string buffer(Block, '\0');
    bool ok = true;
    for (off_t at = 0; ok;) {
        ssize_t got = ::pread(from, buffer.data(), Block, at);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t written = 0; ok && written < got;) {
            ssize_t put = ::write(to, buffer.data() + written, static_cast<size_t>(got - written));
            ok = put > 0 || (put < 0 && errno == EINTR);
            written += put > 0 ? put : 0;
        }
        at += got;
    }
    ok = ::fsync(to) == 0 && ok;
    tool::ContainerLock::HoldNewFile(path, to);
    ok = ::close(to) == 0 && ok;
    if (!ok || ::chmod(temporary.c_str(), mode) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
} // namespace

KeptFile::KeptFile(const std::string& path) : held_(std::make_unique<Held>()) {
    held_->fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (held_->fd >= 0 && ::fstat(held_->fd, &info) == 0) {
        original_ = StateOf(info);
        held_->mode = info.st_mode & 07777;
    }
}

KeptFile::~KeptFile() = default;

bool KeptFile::Unchanged() const {
    struct stat now;
    return valid() && ::fstat(held_->fd, &now) == 0 && StateOf(now).SameVersion(original_);
}

OpenFile KeptFile::Open() const {
    return OpenFile(static_cast<intptr_t>(valid() ? ::fcntl(held_->fd, F_DUPFD_CLOEXEC, 0) : -1));
}

bool KeptFile::PutBack(const std::string& path) {
    return valid() && CopyOver(held_->fd, path, held_->mode);
}
} // namespace tool
