// Bit order reversal for the U3D bit encoding, which stores bits from the
// lowest up but codes U8 values and reads the arithmetic code highest first.
#pragma once

#include <cstdint>

namespace u3d {

inline uint8_t reverseBits8(uint8_t v) {
    v = static_cast<uint8_t>((v & 0xF0) >> 4 | (v & 0x0F) << 4);
    v = static_cast<uint8_t>((v & 0xCC) >> 2 | (v & 0x33) << 2);
    return static_cast<uint8_t>((v & 0xAA) >> 1 | (v & 0x55) << 1);
}

// The low 16 bits of v in reverse order.
inline uint32_t reverseBits16(uint32_t v) {
    return uint32_t(reverseBits8(static_cast<uint8_t>(v))) << 8 | reverseBits8(static_cast<uint8_t>(v >> 8));
}

// The low 15 bits of v in reverse order.
inline uint32_t reverseBits15(uint32_t v) {
    return reverseBits16(v) >> 1;
}

}  // namespace u3d
