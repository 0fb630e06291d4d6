#include "IO/IO_Reader.h"
#include <bit>
#include <cstring>

namespace {
// Work allowed per byte of data, plus a fixed allowance for tiny files.
constexpr uint64_t BudgetPerByte = 16;
constexpr uint64_t BudgetBase = 1u << 20;
} // namespace

IO_Reader::IO_Reader(const uint8_t* data, size_t length)
    : data_(data), length_(data == nullptr ? 0 : length), budget_(BudgetBase + BudgetPerByte * length_) {}

bool IO_Reader::Fail(const std::string& message) {
    if (!failed_) {
        failed_ = true;
        failure_ = message;
    }
    return false;
}

bool IO_Reader::Has(uint64_t count) const {
    return position_ <= length_ && count <= length_ - position_;
}

uint8_t IO_Reader::U8() {
    if (!Has(1)) {
        Fail("read past the end of the data at " + std::to_string(position_));
        return 0;
    }
    return data_[position_++];
}

uint16_t IO_Reader::U16() {
    const uint16_t low = U8();
    return static_cast<uint16_t>(low | (U8() << 8));
}

uint32_t IO_Reader::U32() {
    const uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
}

uint64_t IO_Reader::U64() {
    const uint64_t low = U32();
    return low | (static_cast<uint64_t>(U32()) << 32);
}

float IO_Reader::F32() {
    return std::bit_cast<float>(U32());
}

void IO_Reader::Skip(uint32_t count) {
    if (!Has(count)) {
        Fail("read past the end of the data at " + std::to_string(position_));
        return;
    }
    position_ += count;
}

std::vector<uint8_t> IO_Reader::Bytes(size_t count) {
    if (!Has(count)) {
        Fail("read past the end of the data at " + std::to_string(position_));
        return {};
    }
    if (!Charge(count)) {
        return {};
    }
    std::vector<uint8_t> bytes(data_ + position_, data_ + position_ + count);
    position_ += static_cast<uint32_t>(count);
    return bytes;
}

std::string IO_Reader::StringAt(uint32_t reference) {
    if (reference == 0) {
        return {};
    }
    if (reference < 4 || reference > length_) {
        Fail("string reference out of range: " + std::to_string(reference));
        return {};
    }
    const uint32_t saved = position_;
    position_ = reference - 4;
    const uint32_t size = U32();
    std::string text;
    if (!Has(size)) {
        Fail("string at " + std::to_string(reference) + " runs past the end of the data");
    } else if (Charge(size)) {
        text.assign(reinterpret_cast<const char*>(data_ + position_), size);
    }
    position_ = saved;
    return text;
}

std::vector<uint32_t> IO_Reader::List() {
    const uint32_t count = U32();
    if (!Has(static_cast<uint64_t>(count) * 4)) {
        Fail("list of " + std::to_string(count) + " entries at " + std::to_string(position_ - 4) +
             " runs past the end of the data");
        return {};
    }
    if (!Charge(count)) {
        return {};
    }
    std::vector<uint32_t> offsets(count);
    for (uint32_t& offset : offsets) {
        offset = U32();
    }
    return offsets;
}

bool IO_Reader::Charge(uint64_t units) {
    if (units > budget_) {
        budget_ = 0;
        return Fail("the data asks for more work than its size allows");
    }
    budget_ -= units;
    return true;
}
