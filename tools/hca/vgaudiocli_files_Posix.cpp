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

// Repeats a positioned read or write until `size` bytes moved; a call moving nothing (the file
// shrank, the disk is full) is an I/O error.
template <typename Transfer>
void transfer_all(size_t size, Transfer transfer, const std::string& what, const std::string& path) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = transfer(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            throw file_error(what, path);
        }
        done += static_cast<size_t>(n);
    }
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
    transfer_all(
        out.size(),
        [&](size_t done) {
            return ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        },
        "cannot read", path_);
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
    transfer_all(
        bytes.size(),
        [&](size_t done) {
            return ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        },
        "cannot write", temporary_);
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
