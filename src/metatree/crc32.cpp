#include "metatree/crc32.h"

#include <array>

namespace {

// The table of the published algorithm, computed at compile time.
constexpr std::array<uint32_t, 256> makeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kTable = makeTable();
static_assert(kTable[1] == 0x77073096u && kTable[255] == 0x2D02EF8Du);

}  // namespace

void crc32C::update(const void* bytes, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    uint32_t r = register_;
    for (size_t i = 0; i < n; ++i)
        r = (r >> 8) ^ kTable[(r ^ p[i]) & 0xFFu];
    register_ = r;
}
