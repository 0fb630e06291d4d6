#include "app/actions/write_failure.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tool {
namespace {
std::string reason(int error, const std::string& folder_noun) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return write_failure_text(WriteProblem::NoSpace, folder_noun);
    case EROFS:
        return write_failure_text(WriteProblem::ReadOnlyDisk, folder_noun);
    case EACCES:
    case EPERM:
        return write_failure_text(WriteProblem::ReadOnlyFolder, folder_noun);
    case ENOENT:
    case ENOTDIR:
        return write_failure_text(WriteProblem::MissingFolder, folder_noun);
    case EFBIG:
        return write_failure_text(WriteProblem::TooBig, folder_noun);
    default:
        return write_failure_text(WriteProblem::Other, std::strerror(error));
    }
}

// Removes the probe file whatever happens.
class ProbeFile {
  public:
    explicit ProbeFile(const std::string& folder) : path_(folder + "/.morvane-probe-XXXXXX") {
        fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
        error_ = fd_ < 0 ? errno : 0;
    }
    ~ProbeFile() {
        if (fd_ >= 0) {
            ::close(fd_);
            ::unlink(path_.c_str());
        }
    }
    ProbeFile(const ProbeFile&) = delete;
    ProbeFile& operator=(const ProbeFile&) = delete;
    int Reserve(uint64_t bytes) {
        // Past the file size limit the system would end the tool instead of answering.
        struct rlimit limit;
        if (error_ == 0 && ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
            bytes > limit.rlim_cur) {
            error_ = EFBIG;
        }
        if (error_ == 0 && bytes > 0) {
            error_ = ::posix_fallocate(fd_, 0, static_cast<off_t>(bytes));
        }
        return error_;
    }

  private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
};
} // namespace

std::string write_failure(const std::string& folder, uint64_t bytes, const std::string& folder_noun) {
    ProbeFile probe(folder);
    int error = probe.Reserve(bytes);
    // A file system that cannot reserve ahead says nothing about its space.
    return error == 0 || error == EOPNOTSUPP ? "" : reason(error, folder_noun);
}

// The interpreter's copy renames a new file over the old one, which a file without write permission or
// write bits (which do not stop root) would not stop, so both are looked at before anything runs.
std::string overwrite_failure(const std::string& path, const std::string& noun) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    struct stat info;
    if (::access(path.c_str(), W_OK) != 0 && errno == EROFS) {
        return reason(EROFS, "");
    }
    if (::stat(path.c_str(), &info) == 0 &&
        ((info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)) {
        return write_failure_text(WriteProblem::ReadOnlyFile, noun);
    }
    return write_failure(folder.empty() ? "." : folder, 0, "the " + noun + "'s folder");
}
} // namespace tool
