#include "ByteWriter.h"
#include <bit>
#include <cstring>
#include <stdexcept>

void ByteWriter::U16(uint16_t value) {
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
}

void ByteWriter::U32(uint32_t value) {
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
}

void ByteWriter::U64(uint64_t value) {
    U32(static_cast<uint32_t>(value));
    U32(static_cast<uint32_t>(value >> 32));
}

void ByteWriter::F32(float value) {
    U32(std::bit_cast<uint32_t>(value));
}

void ByteWriter::Raw(const void* data, size_t length) {
    const auto* first = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), first, first + length);
}

void ByteWriter::PatchU32(uint32_t position, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes_.at(position + i) = static_cast<uint8_t>(value >> (8 * i));
    }
}

void ByteWriter::Place(const std::string& label, uint32_t position) {
    if (!labels_.emplace(label, position).second) {
        throw std::runtime_error("label placed twice: " + label);
    }
}

void ByteWriter::Ref(const std::string& label) {
    references_.emplace_back(Position(), label);
    U32(0);
}

void ByteWriter::Resolve() {
    for (const auto& [position, label] : references_) {
        const auto found = labels_.find(label);
        if (found == labels_.end()) {
            throw std::runtime_error("reference to an unplaced label: " + label);
        }
        PatchU32(position, found->second);
    }
    references_.clear();
}
