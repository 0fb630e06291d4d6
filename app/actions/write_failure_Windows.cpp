#include "Support/Win32/Support_System.h"
#include "app/actions/write_failure.h"
#include "utf16.h"
#include <filesystem>
#include <windows.h>

namespace tool {
namespace {
std::string reason(DWORD error, const std::string& folder_noun) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return write_failure_text(WriteProblem::NoSpace, folder_noun);
    case ERROR_WRITE_PROTECT:
        return write_failure_text(WriteProblem::ReadOnlyDisk, folder_noun);
    case ERROR_ACCESS_DENIED:
        return write_failure_text(WriteProblem::ReadOnlyFolder, folder_noun);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_DIRECTORY:
        return write_failure_text(WriteProblem::MissingFolder, folder_noun);
    default:
        return write_failure_text(WriteProblem::Other, win::error_text(error));
    }
}

// A probe file the system deletes when it is closed, whatever happens.
class ProbeFile {
  public:
    explicit ProbeFile(const std::string& folder) {
        const std::wstring name = System_Path(folder).native() + L"\\.morvane-probe-" +
                                  std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(GetTickCount64());
        file_ = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        error_ = file_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    }
    ~ProbeFile() {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
    }
    ProbeFile(const ProbeFile&) = delete;
    ProbeFile& operator=(const ProbeFile&) = delete;
    // Reserving the space asks the file system for it without writing it.
    DWORD Reserve(uint64_t bytes) {
        FILE_ALLOCATION_INFO size{};
        size.AllocationSize.QuadPart = static_cast<LONGLONG>(bytes);
        if (error_ == ERROR_SUCCESS && bytes > 0 &&
            !SetFileInformationByHandle(file_, FileAllocationInfo, &size, sizeof size))
            error_ = GetLastError();
        return error_;
    }

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    DWORD error_ = ERROR_SUCCESS;
};
} // namespace

std::string write_failure(const std::string& folder, uint64_t bytes, const std::string& folder_noun) {
    ProbeFile probe(folder);
    const DWORD error = probe.Reserve(bytes);
    // A file system that cannot reserve ahead says nothing about its space.
    return error == ERROR_SUCCESS || error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
                   error == ERROR_CALL_NOT_IMPLEMENTED
               ? ""
               : reason(error, folder_noun);
}

// The interpreter's copy replaces the file, which the read-only attribute would refuse.
std::string overwrite_failure(const std::string& path, const std::string& noun) {
    const DWORD attributes = GetFileAttributesW(win::wide_path(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return write_failure_text(WriteProblem::ReadOnlyFile, noun);
    const std::string folder = System_PathText(System_Path(path).parent_path());
    return write_failure(folder.empty() ? "." : folder, 0, "the " + noun + "'s folder");
}
} // namespace tool
