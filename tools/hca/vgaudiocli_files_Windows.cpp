#include "utf16.h"
#include "vgaudiocli_files.h"

#include <stdexcept>
#include <windows.h>

namespace vgaudiocli {
namespace {

std::runtime_error file_error(const std::string& what, const std::string& path, DWORD code = GetLastError()) {
    return std::runtime_error(what + " '" + path + "': " + win::error_text(code));
}

OVERLAPPED at(uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// Positioned reads and writes, repeated until every byte moved; several threads may use one handle,
// since each call carries its own offset.
template <typename Transfer>
void transfer_all(size_t size, Transfer transfer, const std::string& what, const std::string& path) {
    size_t done = 0;
    while (done < size) {
        DWORD moved = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
        if (!transfer(done, chunk, moved))
            throw file_error(what, path);
        if (moved == 0)
            throw file_error(what, path, ERROR_HANDLE_EOF);
        done += moved;
    }
}

} // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
    fd_ = CreateFileW(win::wide_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (fd_ == INVALID_HANDLE_VALUE)
        throw file_error("cannot open", path);
    LARGE_INTEGER size{};
    if (GetFileType(fd_) != FILE_TYPE_DISK || !GetFileSizeEx(fd_, &size)) {
        const DWORD code = GetLastError();
        CloseHandle(fd_);
        throw file_error("cannot read", path, code == NO_ERROR ? ERROR_INVALID_FUNCTION : code);
    }
    size_ = static_cast<uint64_t>(size.QuadPart);
}

InputFile::~InputFile() {
    CloseHandle(fd_);
}

void InputFile::read(uint64_t offset, std::span<uint8_t> out) const {
    transfer_all(
        out.size(),
        [&](size_t done, DWORD chunk, DWORD& moved) {
            OVERLAPPED where = at(offset + done);
            return ReadFile(fd_, out.data() + done, chunk, &moved, &where) != 0;
        },
        "cannot read", path_);
}

AtomicOutput::AtomicOutput(std::string target)
    : target_(std::move(target)), temporary_(target_ + ".part" + std::to_string(GetCurrentProcessId())) {
    fd_ = CreateFileW(win::wide_path(temporary_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (fd_ == INVALID_HANDLE_VALUE)
        throw file_error("cannot create", temporary_);
}

AtomicOutput::~AtomicOutput() {
    if (fd_ != kNoFile)
        CloseHandle(fd_);
    if (!committed_)
        DeleteFileW(win::wide_path(temporary_).c_str());
}

void AtomicOutput::write_at(uint64_t offset, std::span<const uint8_t> bytes) {
    transfer_all(
        bytes.size(),
        [&](size_t done, DWORD chunk, DWORD& moved) {
            OVERLAPPED where = at(offset + done);
            return WriteFile(fd_, bytes.data() + done, chunk, &moved, &where) != 0;
        },
        "cannot write", temporary_);
}

void AtomicOutput::commit() {
    const FileHandle handle = fd_;
    fd_ = kNoFile;
    if (!CloseHandle(handle))
        throw file_error("cannot write", temporary_);
    if (!MoveFileExW(win::wide_path(temporary_).c_str(), win::wide_path(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING))
        throw file_error("cannot create", target_);
    committed_ = true;
}

} // namespace vgaudiocli
