#include "Shell_CabinetFiles.h"
#include "utf16.h"
#include <cstdlib>
#include <cstring>
#include <windows.h>

// The library's own calls would take names in the code page and short paths only: these take UTF-8
// names to the wide calls, long paths included.
namespace shell {
namespace {

struct WideFile {
    HANDLE handle;
};

mspack_file* Open(mspack_system*, const char* name, int mode) {
    DWORD access = mode == MSPACK_SYS_OPEN_READ ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = mode == MSPACK_SYS_OPEN_WRITE  ? CREATE_ALWAYS
                        : mode == MSPACK_SYS_OPEN_READ ? OPEN_EXISTING
                                                       : OPEN_ALWAYS;
    // The output is a temporary file its writer holds open (Shell_FileSystem_Windows.cpp).
    DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = CreateFileW(win::wide_path(name).c_str(), access, sharing, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    if (mode == MSPACK_SYS_OPEN_APPEND) {
        SetFilePointerEx(handle, LARGE_INTEGER{}, nullptr, FILE_END);
    }
    return reinterpret_cast<mspack_file*>(new WideFile{handle});
}

HANDLE HandleOf(mspack_file* file) {
    return reinterpret_cast<WideFile*>(file)->handle;
}

void Close(mspack_file* file) {
    CloseHandle(HandleOf(file));
    delete reinterpret_cast<WideFile*>(file);
}

int Read(mspack_file* file, void* buffer, int bytes) {
    DWORD got = 0;
    return bytes < 0 || !ReadFile(HandleOf(file), buffer, static_cast<DWORD>(bytes), &got, nullptr)
               ? -1
               : static_cast<int>(got);
}

int Write(mspack_file* file, void* buffer, int bytes) {
    DWORD written = 0;
    return bytes < 0 || !WriteFile(HandleOf(file), buffer, static_cast<DWORD>(bytes), &written, nullptr)
               ? -1
               : static_cast<int>(written);
}

int Seek(mspack_file* file, off_t offset, int mode) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    DWORD method = mode == MSPACK_SYS_SEEK_START ? FILE_BEGIN
                   : mode == MSPACK_SYS_SEEK_CUR ? FILE_CURRENT
                                                 : FILE_END;
    return SetFilePointerEx(HandleOf(file), distance, nullptr, method) ? 0 : -1;
}

off_t Tell(mspack_file* file) {
    LARGE_INTEGER position{};
    return SetFilePointerEx(HandleOf(file), LARGE_INTEGER{}, &position, FILE_CURRENT)
               ? static_cast<off_t>(position.QuadPart)
               : -1;
}

// The interpreter says itself what failed.
void Message(mspack_file*, const char*, ...) {}

void* Allocate(mspack_system*, size_t bytes) {
    return std::malloc(bytes);
}

void Free(void* memory) {
    std::free(memory);
}

void Copy(void* from, void* to, size_t bytes) {
    std::memmove(to, from, bytes);
}

mspack_system wideFiles = {Open, Close, Read, Write, Seek, Tell, Message, Allocate, Free, Copy, nullptr};

} // namespace

mspack_system* CabinetFiles() {
    return &wideFiles;
}

} // namespace shell
