#pragma once

#include "byte_source.h"

#include <cstdint>
#include <span>
#include <string>

namespace vgaudiocli {

// vgaudiocli_files_Posix.cpp holds the POSIX side, vgaudiocli_files_Windows.cpp the Windows one.
#ifdef _WIN32
using FileHandle = void*;
inline const FileHandle kNoFile = reinterpret_cast<FileHandle>(intptr_t{-1});
#else
using FileHandle = int;
constexpr FileHandle kNoFile = -1;
#endif

// An input file read piece by piece; throws std::runtime_error naming the file and the reason when it
// cannot be opened or read.
class InputFile : public hca::ByteSource {
  public:
    explicit InputFile(const std::string& path);
    ~InputFile() override;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    uint64_t size() const override { return size_; }
    void read(uint64_t offset, std::span<uint8_t> out) const override;

  private:
    std::string path_;
    FileHandle fd_ = kNoFile;
    uint64_t size_ = 0;
};

// An output written to a temporary file beside the target and renamed over it only on commit(),
// so a failed run leaves no partial output. The temporary file is removed unless committed.
class AtomicOutput {
  public:
    explicit AtomicOutput(std::string target);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    // Writes bytes at an offset; several threads may write disjoint ranges at once.
    void write_at(uint64_t offset, std::span<const uint8_t> bytes);
    void commit();

  private:
    std::string target_;
    std::string temporary_;
    FileHandle fd_ = kNoFile;
    bool committed_ = false;
};

} // namespace vgaudiocli
