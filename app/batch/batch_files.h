// What batch mode reads and keeps of files on its own, to check outcomes and to undo a failed action.
#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <utility>

namespace batch {
// The PCM a decoder wrote: what --info reports and what every check looks at.
struct WavInfo {
    bool valid = false;
    int rate = 0;
    int channels = 0;
    uint64_t frames = 0;
    double Seconds() const { return rate > 0 ? static_cast<double>(frames) / rate : 0.0; }
};
WavInfo ReadWavInfo(const std::string& path);

// The whole file, or nothing when it cannot be read (for small files: a WAV header, tuner.head).
std::optional<std::string> ReadBytes(const std::string& path);

// A file mapped read-only, to be looked at once without copying it into memory of our own.
class MappedFile {
  public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    // The file's bytes, or nothing when it cannot be opened or mapped.
    const std::optional<std::string_view>& Bytes() const { return bytes_; }

  private:
    void* map_ = nullptr;
    size_t size_ = 0;
    std::optional<std::string_view> bytes_;
};

// An open descriptor, closed when it goes.
class OpenFile {
  public:
    explicit OpenFile(const std::string& path);
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Up to `size` bytes from `offset`, fewer only at the end of the file; -1 on an error.
ssize_t ReadAt(int fd, char* data, size_t size, off_t offset);
// Whether two open files hold the same bytes, read a block at a time.
bool SameContent(int a, int b);
// Whether the file at `path` begins with `prefix`.
bool StartsWith(const std::string& path, std::string_view prefix);

// MP3, Ogg or WAV, told by the file's first bytes.
bool LooksLikeAudio(const std::string& path);

// A file as it was, to be put back byte for byte (or removed again when it did not exist). It is kept
// open, not read: every copy of ours and of the interpreter renames a new file over the old one, so
// the old bytes stay readable through the descriptor, and a 2 GB container costs no memory.
class Snapshot {
  public:
    explicit Snapshot(std::string path);
    bool Existed() const { return file_.valid(); }
    // The descriptor of the file as it was (-1 when it did not exist).
    int fd() const { return file_.fd(); }
    // The same file, not written since (same inode and modification time): a copy over it renames a
    // new file into place, so identical bytes alone would not tell.
    bool Untouched() const;
    // A file that did not exist is now there, made by this action: only that very file (same inode)
    // is removed by PutBack, never one that another hand put there meanwhile.
    void NoteCreated();
    // Written beside the file and renamed over it, so a failure leaves the present file whole.
    bool PutBack() const;

  private:
    std::string path_;
    OpenFile file_;
    struct stat info_ {};
    struct stat created_ {};
    bool noted_ = false;
};
} // namespace batch
