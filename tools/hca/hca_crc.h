#pragma once

#include <cstdint>
#include <span>

namespace hca {

// CRC-16, polynomial 0x8005, initial value 0, not reflected. A block that ends with its own CRC sums to 0.
uint16_t crc16(std::span<const uint8_t> data);

} // namespace hca
