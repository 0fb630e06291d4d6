#include "app/batch/batch_files.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace batch {
namespace {
uint32_t Little(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::string Head(const std::string& path, size_t length) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(length, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(length));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}
} // namespace

// RIFF chunks are walked up to "data"; a data size past the end of the file (a writer that could not
// seek back) counts what is there.
WavInfo ReadWavInfo(const std::string& path) {
    WavInfo info;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return info;
    }
    const uint64_t fileSize = static_cast<uint64_t>(in.tellg());
    std::string header = Head(path, 4096);
    if (header.size() < 12 || header.compare(0, 4, "RIFF") != 0 || header.compare(8, 4, "WAVE") != 0) {
        return info;
    }
    int blockAlign = 0;
    for (size_t at = 12; at + 8 <= header.size();) {
        uint32_t size = Little(header, at + 4, 4);
        if (header.compare(at, 4, "fmt ") == 0 && at + 8 + 16 <= header.size()) {
            info.channels = static_cast<int>(Little(header, at + 10, 2));
            info.rate = static_cast<int>(Little(header, at + 12, 4));
            blockAlign = static_cast<int>(Little(header, at + 20, 2));
        } else if (header.compare(at, 4, "data") == 0) {
            uint64_t available = fileSize - (at + 8);
            uint64_t data = size < available ? size : available;
            info.valid = blockAlign > 0 && info.channels > 0 && info.rate > 0;
            info.frames = info.valid ? data / static_cast<uint64_t>(blockAlign) : 0;
            return info;
        }
        at += 8 + size + (size & 1);
    }
    return info;
}

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    return bytes;
}

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

OpenFile::OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

OpenFile::~OpenFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

// Up to `size` bytes from `offset`, fewer only at the end of the file; -1 on an error.
ssize_t ReadAt(int fd, char* data, size_t size, off_t offset) {
    size_t done = 0;
    while (done < size) {
        ssize_t got = ::pread(fd, data + done, size - done, offset + static_cast<off_t>(done));
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
    return static_cast<ssize_t>(done);
}

namespace {
constexpr size_t Block = 1 << 20;

bool SameIdentity(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The whole of `from` into a new file beside `path`, renamed over it.
bool CopyOver(int from, const std::string& path, mode_t mode) {
    std::string temporary = path + ".batch-undo";
    int to = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (to < 0) {
        return false;
    }
    std::string buffer(Block, '\0');
    bool ok = true;
    for (off_t at = 0; ok;) {
        ssize_t got = ReadAt(from, buffer.data(), Block, at);
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
    ok = ::close(to) == 0 && ok;
    if (!ok || ::chmod(temporary.c_str(), mode) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
} // namespace

bool SameContent(int a, int b) {
    std::string left(Block, '\0');
    std::string right(Block, '\0');
    for (off_t at = 0;;) {
        ssize_t gotLeft = ReadAt(a, left.data(), Block, at);
        ssize_t gotRight = ReadAt(b, right.data(), Block, at);
        if (gotLeft < 0 || gotLeft != gotRight ||
            std::memcmp(left.data(), right.data(), static_cast<size_t>(gotLeft)) != 0) {
            return false;
        }
        if (gotLeft == 0) {
            return true;
        }
        at += gotLeft;
    }
}

bool StartsWith(const std::string& path, std::string_view prefix) {
    OpenFile file(path);
    std::string head(prefix.size(), '\0');
    return file.valid() &&
           ReadAt(file.fd(), head.data(), head.size(), 0) == static_cast<ssize_t>(head.size()) &&
           head == prefix;
}

bool LooksLikeAudio(const std::string& path) {
    std::string head = Head(path, 12);
    auto starts = [&](const char* tag) { return head.compare(0, std::strlen(tag), tag) == 0; };
    bool wav = head.size() == 12 && starts("RIFF") && head.compare(8, 4, "WAVE") == 0;
    // An MP3 opens with its ID3 tag or straight with a frame: eleven set sync bits.
    bool mp3 = starts("ID3") || (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
                                 (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0);
    return wav || mp3 || starts("OggS");
}

Snapshot::Snapshot(std::string path) : path_(std::move(path)), file_(path_) {
    if (file_.valid()) {
        ::fstat(file_.fd(), &info_);
    }
}

bool Snapshot::Untouched() const {
    struct stat now;
    if (::stat(path_.c_str(), &now) != 0) {
        return !Existed();
    }
    return Existed() && SameIdentity(now, info_) && now.st_mtim.tv_sec == info_.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == info_.st_mtim.tv_nsec;
}

void Snapshot::NoteCreated() {
    noted_ = !Existed() && ::stat(path_.c_str(), &created_) == 0;
}

bool Snapshot::PutBack() const {
    struct stat now;
    bool present = ::stat(path_.c_str(), &now) == 0;
    if (!Existed()) {
        if (!present) {
            return true;
        }
        return noted_ && SameIdentity(now, created_) && std::remove(path_.c_str()) == 0;
    }
    if (Untouched()) {
        return true;
    }
    // Written in place since (not by us): its old bytes are gone, and guessing would do harm.
    struct stat held;
    if (::fstat(file_.fd(), &held) != 0 || held.st_size != info_.st_size ||
        held.st_mtim.tv_nsec != info_.st_mtim.tv_nsec || held.st_mtim.tv_sec != info_.st_mtim.tv_sec) {
        return false;
    }
    return CopyOver(file_.fd(), path_, info_.st_mode & 07777);
}
} // namespace batch
