// The interval of the U3D arithmetic coder, which the bit reader and the
// bit writer narrow and rescale in exactly the same steps: 16-bit low and
// high ends, and the count of underflow bits (the E3 scalings) whose value
// is settled only by the next bit shifted out.
#pragma once

#include <cstdint>

namespace u3d {

struct codingIntervalS {
    static constexpr uint32_t kHalf = 0x8000;
    static constexpr uint32_t kQuarter = 0x4000;

    uint32_t low = 0;
    uint32_t high = 0xFFFF;
    uint32_t underflow = 0;

    // Untouched since the start of the block, or back to it: U8 values are
    // then stored as 8 plain bits instead of being coded.
    bool initial() const { return low == 0 && high == 0xFFFF && underflow == 0; }

    uint32_t range() const { return high + 1 - low; }

    // To the part [below, below + frequency) of [0, total).
    void narrow(uint32_t below, uint32_t frequency, uint32_t total) {
        const uint32_t r = range();
        high = low - 1 + r * (below + frequency) / total;
        low = low + r * below / total;
    }

    // Shifts out the leading bits that low and high share and returns how
    // many there were; `bits` gets them, the first one in the highest place.
    unsigned shiftSettled(uint32_t& bits) {
        unsigned count = 0;
        bits = 0;
        while (((low ^ high) & kHalf) == 0) {
            bits = (bits << 1) | (low >> 15);
            low = (low << 1) & 0xFFFF;
            high = ((high << 1) & 0xFFFF) | 1;
            ++count;
        }
        return count;
    }

    // While low is in the second quarter and high in the third, the next
    // bit is not settled: widen around the middle and count it.
    void scaleUnderflow() {
        while ((low & kQuarter) != 0 && (high & kQuarter) == 0) {
            low = (low & (kQuarter - 1)) << 1;
            high = ((high & (kQuarter - 1)) << 1) | kHalf | 1;
            ++underflow;
        }
    }
};

}  // namespace u3d
