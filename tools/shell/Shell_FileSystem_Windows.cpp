#include "Shell_FileSystem.h"
#include "Shell_WindowsHandle.h"
#include "Shell_Words.h"
#include "utf16.h"
#include <fcntl.h>
#include <io.h>
#include <random>

namespace shell {

const char Separator = '\\';
const char* const NullDevice = "NUL";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

namespace {
bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// "server\share\" of a network path, from `at`.
size_t ShareEnd(std::string_view path, size_t at) {
    size_t server = path.find_first_of("\\/", at);
    if (server == std::string_view::npos) {
        return path.size();
    }
    size_t share = path.find_first_of("\\/", server + 1);
    return share == std::string_view::npos ? path.size() : share + 1;
}

std::wstring Wide(const std::string& path) {
    return win::wide_path(path);
}
} // namespace

size_t RootLength(std::string_view path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // "\\?\C:\", "\\?\UNC\server\share\", "\\server\share\".
        if (path.size() >= 4 && (path[2] == '?' || path[2] == '.') && IsSeparator(path[3])) {
            std::string_view rest = path.substr(4);
            if (rest.size() >= 4 && SameText(rest.substr(0, 3), "UNC") && IsSeparator(rest[3])) {
                return ShareEnd(path, 8);
            }
            return 4 + RootLength(rest);
        }
        return ShareEnd(path, 2);
    }
    if (HasDrive(path)) {
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    }
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

// Windows takes both separators as they are.
std::string NativePath(std::string_view path) {
    return std::string(path);
}

// "\x" is on the current folder's drive; "C:x" is left to the system, which keeps a folder per drive.
std::string Absolute(const std::string& cwd, std::string_view path) {
    if (HasDrive(path) || (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))) {
        return std::string(path);
    }
    size_t root = RootLength(cwd);
    std::string absolute = cwd;
    if (!path.empty() && IsSeparator(path[0])) {
        absolute.resize(root > 0 && IsSeparator(cwd[root - 1]) ? root - 1 : root);
    } else if (absolute.empty() || !IsSeparator(absolute.back())) {
        absolute += Separator;
    }
    absolute += path;
    return absolute;
}

std::optional<std::string> CurrentFolder() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length >= folder.size()) {
        return std::nullopt;
    }
    folder.resize(length);
    return win::narrow(folder);
}

std::string SystemFolder() {
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? win::narrow(std::wstring_view(folder, length)) : "C:\\";
}

namespace {
FileInfo FromHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION status;
    if (!GetFileInformationByHandle(handle, &status)) {
        return {};
    }
    FileInfo info;
    info.exists = true;
    info.folder = (status.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.regular = !info.folder && GetFileType(handle) == FILE_TYPE_DISK;
    info.link = (status.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    info.writable = (status.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    info.size = (uint64_t{status.nFileSizeHigh} << 32) | status.nFileSizeLow;
    info.id = {status.dwVolumeSerialNumber, (uint64_t{status.nFileIndexHigh} << 32) | status.nFileIndexLow};
    return info;
}

// Opened for its attributes only, which no other program's sharing can refuse.
UniqueHandle OpenAttributes(const std::string& path, bool followLinks) {
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return UniqueHandle(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, flags, nullptr));
}

UniqueFd ToDescriptor(UniqueHandle handle, int flags) {
    if (!handle.valid()) {
        return UniqueFd();
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), flags | _O_BINARY);
    if (fd >= 0) {
        handle.Release();
    }
    return UniqueFd(fd);
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}
} // namespace

FileInfo Inspect(const std::string& path, bool followLinks) {
    UniqueHandle handle = OpenAttributes(path, followLinks);
    if (handle.valid()) {
        return FromHandle(handle.get());
    }
    // A file that cannot be opened at all (a folder without the right to list it) still exists.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    FileInfo info;
    info.exists = true;
    info.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.writable = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    return info;
}

FileInfo InspectOpen(int fd) {
    return FromHandle(HandleOf(fd));
}

std::string FollowLinks(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    UniqueHandle handle = OpenAttributes(path, true);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
        !handle.valid()) {
        return path;
    }
    std::wstring target(GetFinalPathNameByHandleW(handle.get(), nullptr, 0, VOLUME_NAME_DOS), L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle.get(), target.data(), static_cast<DWORD>(target.size()),
                                             VOLUME_NAME_DOS);
    if (length == 0 || length >= target.size()) {
        return path;
    }
    target.resize(length);
    std::string followed = win::narrow(target);
    // "\\?\C:\..." back to "C:\..."; wide_path adds the prefix again where the length needs it.
    return followed.starts_with("\\\\?\\") && HasDrive(followed.substr(4)) ? followed.substr(4) : followed;
}

std::optional<std::string> FullFolderPath(const std::string& path) {
    if (!IsDirectory(path)) {
        return std::nullopt;
    }
    std::wstring wide = win::widen(path);
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        return std::nullopt;
    }
    full.resize(length);
    std::string folder = win::narrow(full);
    while (folder.size() > RootLength(folder) && IsSeparator(folder.back())) {
        folder.pop_back();
    }
    return folder;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileExW(Wide(Absolute(folder, "*")).c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = win::narrow(entry.cFileName);
        if (name != "." && name != "..") {
            names.push_back(std::move(name));
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

UniqueFd OpenForReading(const std::string& path) {
    return ToDescriptor(UniqueHandle(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
                        _O_RDONLY);
}

namespace {
// Append access alone: the system puts every write at the end, whoever writes.
UniqueHandle OpenFile(const std::string& path, bool append) {
    return UniqueHandle(CreateFileW(Wide(path).c_str(),
                                    append ? FILE_APPEND_DATA | SYNCHRONIZE : GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}
} // namespace

UniqueFd OpenForWriting(const std::string& path, Opening opening) {
    if (opening == Opening::Restart && !OpenFile(path, false).valid()) {
        return UniqueFd();
    }
    return ToDescriptor(OpenFile(path, opening != Opening::Truncate), _O_WRONLY);
}

Removal RemoveFile(const std::string& path, bool force) {
    std::wstring wide = Wide(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Removal::Skipped;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        if (!force) {
            return Removal::Refused;
        }
        // FILE_ATTRIBUTE_NORMAL is valid only alone.
        DWORD cleared = attributes & ~FILE_ATTRIBUTE_READONLY;
        SetFileAttributesW(wide.c_str(), cleared != 0 ? cleared : FILE_ATTRIBUTE_NORMAL);
    }
    return DeleteFileW(wide.c_str()) ? Removal::Removed : Removal::Failed;
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
}

bool RemoveEmptyFolder(const std::string& path) {
    return RemoveDirectoryW(Wide(path).c_str()) != 0;
}

// A link or junction is a reparse point: it goes itself, and what it points at stays.
bool RemoveTree(const std::string& path) {
    std::wstring wide = Wide(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return folder ? RemoveDirectoryW(wide.c_str()) != 0 : DeleteFileW(wide.c_str()) != 0;
    }
    if (!folder) {
        return RemoveFile(path, true) == Removal::Removed;
    }
    bool removed = true;
    for (const std::string& name : ListFolder(path)) {
        removed = RemoveTree(Absolute(path, name)) && removed;
    }
    return removed && RemoveDirectoryW(wide.c_str()) != 0;
}

namespace {
std::string RandomLetters(std::mt19937& random) {
    static constexpr std::string_view letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string text;
    for (int i = 0; i < 6; ++i) {
        text += letters[random() % letters.size()];
    }
    return text;
}
} // namespace

// Held open without delete sharing while it is written (writing by name is shared, for the cabinet
// library): another writer's attempt to remove it then fails, and only the temporary files of killed
// writers go.
TempFile::TempFile(const std::string& finalPath) : finalPath_(finalPath) {
    for (const std::string& stale : TempFilesOf(finalPath)) {
        DeleteFileW(Wide(stale).c_str());
    }
    std::random_device seed;
    std::mt19937 random(seed());
    std::string prefix = Absolute(ParentFolder(finalPath), TempPrefix());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = prefix + RandomLetters(random);
        UniqueHandle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            path_ = path;
            fd_ = ToDescriptor(std::move(file), _O_WRONLY);
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return;
        }
    }
}

TempFile::~TempFile() {
    if (fd_.valid() && !committed_) {
        FILE_DISPOSITION_INFO remove{TRUE};
        SetFileInformationByHandle(HandleOf(fd_.get()), FileDispositionInfo, &remove, sizeof remove);
    }
}

// Renamed through its own handle, still held. The full path: Wine takes a bare name as relative to
// the current folder, not to the file's.
bool TempFile::Commit(unsigned) {
    if (!fd_.valid()) {
        return false;
    }
    HANDLE handle = HandleOf(fd_.get());
    std::wstring name = Wide(finalPath_);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    if (!FlushFileBuffers(handle) ||
        !SetFileInformationByHandle(handle, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
        return false;
    }
    committed_ = true;
    return ::_close(fd_.Release()) == 0;
}

} // namespace shell
