#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

namespace hca {

// Random access to an input's bytes: a file read piece by piece, or bytes in memory. read() may be
// called from several threads at once.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Fills `out` with the bytes from `offset` on; the range lies inside size().
    virtual void read(uint64_t offset, std::span<uint8_t> out) const = 0;
};

class MemoryBytes : public ByteSource {
  public:
    explicit MemoryBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t size() const override { return bytes_.size(); }
    void read(uint64_t offset, std::span<uint8_t> out) const override {
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    }

  private:
    std::span<const uint8_t> bytes_;
};

} // namespace hca
