// Exact division by the small divisors of the U3D arithmetic coder as a
// multiplication: the coder divides by a frequency total (at most 0x3FFF)
// several times per symbol, and a hardware division costs as much as the
// rest of the symbol together.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace u3d {

// floor(n / d) == (n * multiplier) >> shift for every n below 2^30, with
// shift = 30 + ceil(log2 d) and multiplier = ceil(2^shift / d) (Granlund
// and Montgomery): the multiplier stays below 2^32, the product below 2^62.
struct reciprocalS {
    uint32_t multiplier;
    uint32_t shift;

    uint32_t divide(uint32_t n) const { return static_cast<uint32_t>((uint64_t(n) * multiplier) >> shift); }
};

inline constexpr uint32_t kMaxReciprocalDivisor = 0x4000;

inline constexpr std::array<reciprocalS, kMaxReciprocalDivisor + 1> kReciprocals = [] {
    std::array<reciprocalS, kMaxReciprocalDivisor + 1> table{};
    for (uint32_t d = 1; d <= kMaxReciprocalDivisor; ++d) {
        const uint32_t shift = 30 + static_cast<uint32_t>(std::bit_width(d - 1));
        const uint64_t power = uint64_t(1) << shift;
        table[d] = {static_cast<uint32_t>((power + d - 1) / d), shift};
    }
    return table;
}();

}  // namespace u3d
