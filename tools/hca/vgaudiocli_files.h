#pragma once

#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace vgaudiocli {

// A whole input file mapped read-only into memory; throws std::runtime_error naming the file and the
// reason when it cannot be opened or read.
class InputFile {
  public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::span<const uint8_t> bytes() const { return {data_, size_}; }

  private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// An output written to a temporary file beside the target and renamed over it only on commit(),
// so a failed run leaves no partial output. The temporary file is removed unless committed.
class AtomicOutput {
  public:
    explicit AtomicOutput(std::string target);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    std::ofstream& stream() { return stream_; }
    void commit();

  private:
    std::string target_;
    std::string temporary_;
    std::vector<char> buffer_;
    std::ofstream stream_;
    bool committed_ = false;
};

} // namespace vgaudiocli
