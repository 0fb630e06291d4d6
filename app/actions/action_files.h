// What the actions read and keep of files on their own, to check outcomes and to undo a failed action.
// The system's side is action_files_system_Posix.cpp or action_files_system_Windows.cpp.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tool {
// The PCM a decoder wrote: what --info reports and what every check looks at.
struct WavInfo {
    bool valid = false;
    int rate = 0;
    int channels = 0;
    uint64_t frames = 0;
    double Seconds() const { return rate > 0 ? static_cast<double>(frames) / rate : 0.0; }
};
WavInfo ReadWavInfo(const std::string& path);

// The file's size; 0 when it cannot be told.
uint64_t FileSize(const std::string& path);
// Up to `length` bytes from `at`: fewer at the end of the file, none when it cannot be read.
std::string ReadPart(const std::string& path, uint64_t at, size_t length);

// The whole file, or nothing when it cannot be read (for small files: a WAV header, tuner.head).
std::optional<std::string> ReadBytes(const std::string& path);

// A new, empty folder named `prefix` and a random tail, that only this user may enter; "" when none
// could be made.
std::string MakeFreshFolder(const std::string& prefix);

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

// A file open for reading, closed when it goes. Others may still write, rename or remove it.
class OpenFile {
  public:
    explicit OpenFile(const std::string& path);
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    bool valid() const { return handle_ != -1; }
    // Up to `size` bytes from `offset`, fewer only at the end of the file; -1 on an error.
    int64_t ReadAt(char* data, size_t size, uint64_t offset) const;
    // The file's size, -1 when it cannot be told.
    int64_t Size() const;

  private:
    friend class KeptFile;
    explicit OpenFile(intptr_t handle) : handle_(handle) {}
    intptr_t handle_ = -1; // a descriptor, or a HANDLE on Windows
};

// Whether two open files hold the same bytes, read a block at a time.
bool SameContent(const OpenFile& a, const OpenFile& b);
// Whether the file at `path` begins with `prefix`.
bool StartsWith(const std::string& path, std::string_view prefix);

// MP3, Ogg or WAV, told by the file's first bytes.
bool LooksLikeAudio(const std::string& path);

// Which file a name leads to, and which version of it.
struct FileState {
    bool exists = false;
    uint64_t volume = 0;
    uint64_t index = 0; // the file itself on its volume, whatever its name (an inode)
    uint64_t size = 0;
    int64_t written = 0; // the last write, in the system's finest unit
    bool SameFile(const FileState& other) const {
        return exists && other.exists && volume == other.volume && index == other.index;
    }
    bool SameVersion(const FileState& other) const {
        return SameFile(other) && size == other.size && written == other.written;
    }
};
FileState StateOf(const std::string& path);

// A file's bytes kept aside while its name passes to a new file: every copy of ours and of the
// interpreter writes a new file and renames it over the old one. POSIX keeps the old file open; on
// Windows, where a file held open cannot be renamed over, it gets a second name (a hard link) beside
// it, or, where the volume has no links, a copy there.
class KeptFile {
  public:
    explicit KeptFile(const std::string& path);
    ~KeptFile();
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;
    // False when the file did not exist (or could not be kept).
    bool valid() const { return original_.exists; }
    // The file as it was when kept.
    const FileState& Original() const { return original_; }
    // The kept bytes are still those of then (nobody wrote into the old file since).
    bool Unchanged() const;
    OpenFile Open() const;
    // The kept bytes back under `path`, whole, or nothing changed.
    bool PutBack(const std::string& path);

  private:
    struct Held;
    std::unique_ptr<Held> held_;
    FileState original_;
};

// A file as it was, to be put back byte for byte (or removed again when it did not exist), however
// large: its bytes are kept, not read.
class Snapshot {
  public:
    explicit Snapshot(std::string path) : path_(std::move(path)), kept_(path_) {}
    bool Existed() const { return kept_.valid(); }
    // The file as it was.
    OpenFile Open() const { return kept_.Open(); }
    // The same file, not written since (same file and modification time): a copy over it renames a
    // new file into place, so identical bytes alone would not tell.
    bool Untouched() const;
    // A file that did not exist is now there, made by this action: only that very file is removed by
    // PutBack, never one that another hand put there meanwhile.
    void NoteCreated();
    // Renamed (or written beside the file and renamed) into place, so a failure leaves the present
    // file whole.
    bool PutBack();

  private:
    std::string path_;
    KeptFile kept_;
    FileState created_;
};
} // namespace tool
