#include "vgaudiocli_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace vgaudiocli {
namespace {

std::runtime_error file_error(const std::string& what, const std::string& path) {
    return std::runtime_error(what + " '" + path + "': " + std::strerror(errno));
}

} // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
    errno = 0;
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw file_error("cannot open", path);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (errno == 0)
            errno = EISDIR;
        ::close(fd_);
        throw file_error("cannot read", path);
    }
    size_ = static_cast<uint64_t>(info.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
    ::close(fd_);
}

void InputFile::read(uint64_t offset, std::span<uint8_t> out) const {
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // the file shrank while it was read
            throw file_error("cannot read", path_);
        }
        done += static_cast<size_t>(n);
    }
}

AtomicOutput::AtomicOutput(std::string target)
    : target_(std::move(target)), temporary_(target_ + ".part" + std::to_string(::getpid())) {
    errno = 0;
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        throw file_error("cannot create", temporary_);
}

AtomicOutput::~AtomicOutput() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        std::remove(temporary_.c_str());
}

void AtomicOutput::write_at(uint64_t offset, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            throw file_error("cannot write", temporary_);
        }
        done += static_cast<size_t>(n);
    }
}

void AtomicOutput::commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        throw file_error("cannot write", temporary_);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw file_error("cannot create", target_);
    committed_ = true;
}

} // namespace vgaudiocli
