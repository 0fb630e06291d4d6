#include "app/actions/action_files.h"
#include "utf16.h"
#include <atomic>
#include <windows.h>

namespace tool {
namespace {
HANDLE Handle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Read access that lets every other program go on writing, renaming and removing the file.
HANDLE OpenForReading(const std::string& path, DWORD access = GENERIC_READ) {
    return CreateFileW(win::wide_path(path).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

FileState StateOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (file == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file, &info)) {
        return {};
    }
    return FileState{true, info.dwVolumeSerialNumber,
                     (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                     (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
                     static_cast<int64_t>((uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                          info.ftLastWriteTime.dwLowDateTime)};
}

class Handled {
  public:
    explicit Handled(HANDLE handle) : handle_(handle) {}
    ~Handled() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    Handled(const Handled&) = delete;
    Handled& operator=(const Handled&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};
} // namespace

MappedFile::MappedFile(const std::string& path) {
    Handled file(OpenForReading(path));
    LARGE_INTEGER size;
    if (file.get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.get(), &size)) {
        return;
    }
    size_ = static_cast<size_t>(size.QuadPart);
    if (size_ == 0) {
        bytes_ = std::string_view();
        return;
    }
    // The view keeps the mapping, and the mapping the file, for as long as it lives.
    Handled mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping.get() == nullptr) {
        return;
    }
    if (void* map = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0); map != nullptr) {
        map_ = map;
        bytes_ = std::string_view(static_cast<const char*>(map), size_);
    }
}

MappedFile::~MappedFile() {
    if (map_ != nullptr)
        UnmapViewOfFile(map_);
}

OpenFile::OpenFile(const std::string& path) : handle_(reinterpret_cast<intptr_t>(OpenForReading(path))) {}

OpenFile::~OpenFile() {
    if (valid())
        CloseHandle(Handle(handle_));
}

int64_t OpenFile::ReadAt(char* data, size_t size, uint64_t offset) const {
    size_t done = 0;
    while (done < size) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + done);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(Handle(handle_), data + done, piece, &got, &at)) {
            return GetLastError() == ERROR_HANDLE_EOF ? static_cast<int64_t>(done) : -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return static_cast<int64_t>(done);
}

int64_t OpenFile::Size() const {
    LARGE_INTEGER size;
    return valid() && GetFileSizeEx(Handle(handle_), &size) ? size.QuadPart : -1;
}

FileState StateOf(const std::string& path) {
    // Opened for its attributes only, which no other program's sharing can refuse.
    Handled file(OpenForReading(path, FILE_READ_ATTRIBUTES));
    return StateOf(file.get());
}

// A second name for the old file beside it: ".morvane-keep-PID-N", short whatever the file's name (a
// name near the system's limit takes no suffix). Renaming a new file over the
// first name leaves the old bytes under the second, removed when the snapshot goes.
struct KeptFile::Held {
    std::wstring name;
    FileState kept;
    ~Held() {
        if (!name.empty())
            DeleteFileW(name.c_str());
    }
};

KeptFile::KeptFile(const std::string& path) : held_(std::make_unique<Held>()) {
    Handled file(OpenForReading(path, FILE_READ_ATTRIBUTES));
    const FileState original = StateOf(file.get());
    if (!original.exists) {
        return;
    }
    static std::atomic<unsigned> count{0};
    const std::wstring wide = win::wide_path(path);
    const size_t slash = wide.find_last_of(L"\\/");
    const size_t start = slash == std::wstring::npos ? 0 : slash + 1;
    const std::wstring name = wide.substr(0, start) + L".morvane-keep-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    if (!CreateHardLinkW(name.c_str(), wide.c_str(), nullptr) &&
        !CopyFileW(wide.c_str(), name.c_str(), TRUE)) {
        return;
    }
    held_->name = name;
    original_ = original;
    Handled kept(OpenForReading(win::narrow(name), FILE_READ_ATTRIBUTES));
    held_->kept = StateOf(kept.get());
}

KeptFile::~KeptFile() = default;

bool KeptFile::Unchanged() const {
    return valid() && StateOf(win::narrow(held_->name)).SameVersion(held_->kept);
}

OpenFile KeptFile::Open() const {
    return valid() ? OpenFile(win::narrow(held_->name)) : OpenFile(std::string());
}

// A third name for the kept file, renamed over the first: the kept name stays, as the POSIX side's
// descriptor does.
bool KeptFile::PutBack(const std::string& path) {
    if (!valid()) {
        return false;
    }
    const std::wstring back = held_->name + L".back";
    if (!CreateHardLinkW(back.c_str(), held_->name.c_str(), nullptr) &&
        !CopyFileW(held_->name.c_str(), back.c_str(), TRUE)) {
        return false;
    }
    if (!MoveFileExW(back.c_str(), win::wide_path(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(back.c_str());
        return false;
    }
    return true;
}
} // namespace tool
