// What batch mode reads and keeps of files on its own, to check outcomes and to undo a failed action.
#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

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

// The whole file, or nothing when it cannot be read.
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

// MP3, Ogg or WAV, told by the file's first bytes.
bool LooksLikeAudio(const std::string& path);

// A file as it was, to be put back byte for byte (or removed again when it did not exist).
class Snapshot {
  public:
    explicit Snapshot(std::string path);
    const std::optional<std::string>& Bytes() const { return bytes_; }
    // The same file, not written since (same inode and modification time): a copy over it renames a
    // new file into place, so identical bytes alone would not tell.
    bool Untouched() const;
    // Written beside the file and renamed over it, so a failure leaves the present file whole.
    bool PutBack() const;

  private:
    std::string path_;
    std::optional<std::string> bytes_;
    mode_t mode_ = 0644;
    ino_t inode_ = 0;
    timespec modified_{};
};
} // namespace batch
