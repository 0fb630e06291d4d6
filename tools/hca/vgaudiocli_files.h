#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vgaudiocli {

// The whole content of a file; throws std::runtime_error naming the file and the reason.
std::vector<uint8_t> read_file(const std::string& path);

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
    std::ofstream stream_;
    bool committed_ = false;
};

} // namespace vgaudiocli
