#include "vgaudiocli_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vgaudiocli {
namespace {

std::runtime_error file_error(const std::string& what, const std::string& path) {
    return std::runtime_error(what + " '" + path + "': " + std::strerror(errno));
}

} // namespace

InputFile::InputFile(const std::string& path) {
    errno = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw file_error("cannot open", path);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (errno == 0)
            errno = EISDIR;
        ::close(fd);
        throw file_error("cannot read", path);
    }
    size_ = static_cast<size_t>(info.st_size);
    if (size_ > 0) {
        void* mapping = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (mapping == MAP_FAILED) {
            ::close(fd);
            throw file_error("cannot read", path);
        }
        data_ = static_cast<const uint8_t*>(mapping);
    }
    ::close(fd);
}

InputFile::~InputFile() {
    if (data_)
        ::munmap(const_cast<uint8_t*>(data_), size_);
}

AtomicOutput::AtomicOutput(std::string target)
    : target_(std::move(target)), temporary_(target_ + ".part" + std::to_string(::getpid())),
      buffer_(1 << 20) {
    // A large buffer keeps the number of write calls for long decodes small.
    stream_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    errno = 0;
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_)
        throw file_error("cannot create", temporary_);
}

AtomicOutput::~AtomicOutput() {
    if (committed_)
        return;
    stream_.close();
    std::remove(temporary_.c_str());
}

void AtomicOutput::commit() {
    stream_.close();
    if (stream_.fail())
        throw file_error("cannot write", temporary_);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw file_error("cannot create", target_);
    committed_ = true;
}

} // namespace vgaudiocli
