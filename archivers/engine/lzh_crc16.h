// CRC-16 as LZH archives store it for member data and level-2/3 headers:
// polynomial 0x8005 processed bit-reversed (0xA001), initial value 0, no final xor.
#pragma once

#include <cstddef>
#include <cstdint>

namespace arc {

uint16_t lzhCrc16(uint16_t crc, const uint8_t* data, size_t n);

}  // namespace arc
