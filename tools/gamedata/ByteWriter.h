// Little-endian byte buffer with forward references: a reference names a label that may be placed
// later (a record, a texture-page item, a string); all references are patched by Resolve().
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ByteWriter {
  public:
    uint32_t Position() const { return static_cast<uint32_t>(bytes_.size()); }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

    void U8(uint8_t value) { bytes_.push_back(value); }
    void U16(uint16_t value);
    void U32(uint32_t value);
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void U64(uint64_t value);
    void F32(float value);
    void Raw(const void* data, size_t length);
    void Zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void Tag(const char tag[4]) { Raw(tag, 4); }
    // Overwrites a u32 written earlier (chunk lengths).
    void PatchU32(uint32_t position, uint32_t value);

    // Marks the current position (or an explicit one) as the label's target.
    void Place(const std::string& label) { Place(label, Position()); }
    void Place(const std::string& label, uint32_t position);
    // Writes a u32 placeholder that becomes the label's position.
    void Ref(const std::string& label);
    // Patches every reference; throws std::runtime_error naming a label that was never placed.
    void Resolve();

  private:
    std::vector<uint8_t> bytes_;
    std::map<std::string, uint32_t> labels_;
    std::vector<std::pair<uint32_t, std::string>> references_;
};
