// The interval of the U3D arithmetic coder, which the bit reader and the
// bit writer narrow and rescale in exactly the same steps: 16-bit low and
// high ends, and the count of underflow bits (the E3 scalings) whose value
// is settled only by the next bit shifted out.
#pragma once

#include "u3d/reciprocal.h"

#include <bit>
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

    // floor(range * cumulative / total): where the part of the interval
    // that starts at `cumulative` of `total` begins, relative to low.
    // Totals stay at most 0x3FFF and ranges at most 0x10000, so the
    // product stays below 2^30.
    static uint32_t boundary(uint32_t range, uint32_t cumulative, const reciprocalS& total) {
        return total.divide(range * cumulative);
    }

    // To the part [below, above) of [0, total).
    void narrow(uint32_t below, uint32_t above, uint32_t total) {
        const reciprocalS& t = kReciprocals[total];
        const uint32_t r = range();
        high = low - 1 + boundary(r, above, t);
        low = low + boundary(r, below, t);
    }

    // Shifts out the leading bits that low and high share and returns how
    // many there were; `bits` gets them, the first one in the highest place.
    unsigned shiftSettled(uint32_t& bits) {
        const uint32_t differ = (low ^ high) & 0xFFFF;
        const unsigned count = differ ? static_cast<unsigned>(std::countl_zero(differ)) - 16 : 16;
        bits = low >> (16 - count);
        low = (low << count) & 0xFFFF;
        high = ((high << count) & 0xFFFF) | ((1u << count) - 1);
        return count;
    }

    // While low is in the second quarter and high in the third, the next
    // bit is not settled: widen around the middle and count it. (After
    // shiftSettled low's top bit is 0 and high's is 1.)
    void scaleUnderflow() {
        const uint32_t pending = (low & ~high & 0x7FFF) << 17;
        const unsigned count = static_cast<unsigned>(std::countl_one(pending));
        if (count == 0)
            return;
        low = (low << count) & 0x7FFF;
        high = ((high << count) & 0x7FFF) | kHalf | ((1u << count) - 1);
        underflow += count;
    }
};

}  // namespace u3d
