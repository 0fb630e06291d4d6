// Bounds-checked little-endian reading of the game data. Positions are offsets from the first byte of
// "FORM". A read outside the data yields 0 and marks the reader failed; callers check Ok() once per
// record instead of after every field.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class IO_Reader {
  public:
    IO_Reader(const uint8_t* data, size_t length);

    size_t Length() const { return length_; }
    uint32_t Position() const { return position_; }
    void Seek(uint32_t position) { position_ = position; }
    bool Ok() const { return !failed_; }
    const std::string& Failure() const { return failure_; }
    // Marks the reader failed with a message (the first one is kept).
    bool Fail(const std::string& message);

    uint8_t U8();
    uint16_t U16();
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint64_t U64();
    float F32();
    bool Bool() { return U32() != 0; }
    void Skip(uint32_t count);
    // Copies `count` bytes at the current position (charged as work).
    std::vector<uint8_t> Bytes(size_t count);
    // Whether `count` bytes are available at the current position.
    bool Has(uint64_t count) const;

    // A string reference: 0 is no string, otherwise the offset of the first character of a STRG string.
    std::string StringAt(uint32_t reference);
    std::string StringRef() { return StringAt(U32()); }

    // A list at the current position: its offsets (0 = hole). The count must fit the data.
    std::vector<uint32_t> List();

    // Charges `units` of work (materialised elements, string bytes). Offsets may point at the same
    // records many times over, so a small file could otherwise ask for unbounded work and memory.
    bool Charge(uint64_t units);

  private:
    const uint8_t* data_;
    size_t length_;
    uint32_t position_ = 0;
    bool failed_ = false;
    std::string failure_;
    uint64_t budget_;
};
