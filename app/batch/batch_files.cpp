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

bool LooksLikeAudio(const std::string& path) {
    std::string head = Head(path, 12);
    auto starts = [&](const char* tag) { return head.compare(0, std::strlen(tag), tag) == 0; };
    bool wav = head.size() == 12 && starts("RIFF") && head.compare(8, 4, "WAVE") == 0;
    // An MP3 opens with its ID3 tag or straight with a frame: eleven set sync bits.
    bool mp3 = starts("ID3") || (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
                                 (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0);
    return wav || mp3 || starts("OggS");
}

Snapshot::Snapshot(std::string path) : path_(std::move(path)), bytes_(ReadBytes(path_)) {
    struct stat info;
    if (bytes_ && ::stat(path_.c_str(), &info) == 0) {
        mode_ = info.st_mode & 07777;
        inode_ = info.st_ino;
        modified_ = info.st_mtim;
    }
}

bool Snapshot::Untouched() const {
    struct stat info;
    if (::stat(path_.c_str(), &info) != 0) {
        return !bytes_;
    }
    return bytes_ && info.st_ino == inode_ && info.st_mtim.tv_sec == modified_.tv_sec &&
           info.st_mtim.tv_nsec == modified_.tv_nsec;
}

bool Snapshot::PutBack() const {
    if (!bytes_) {
        return std::remove(path_.c_str()) == 0 || errno == ENOENT;
    }
    if (ReadBytes(path_) == bytes_) {
        return true;
    }
    std::string temporary = path_ + ".batch-undo";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes_->data(), static_cast<std::streamsize>(bytes_->size()));
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    ::chmod(temporary.c_str(), mode_);
    return std::rename(temporary.c_str(), path_.c_str()) == 0;
}
} // namespace batch
