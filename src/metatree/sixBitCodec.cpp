#include "metatree/sixBitCodec.h"

#include <algorithm>
#include <array>

namespace {

constexpr char kAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ,;";
static_assert(sizeof(kAlphabet) == 65);

// Character to value; -1 outside the alphabet.
constexpr std::array<int8_t, 256> makeReverse() {
    std::array<int8_t, 256> table{};
    for (size_t c = 0; c < table.size(); ++c)
        table[c] = -1;
    for (size_t v = 0; v < 64; ++v)
        table[static_cast<uint8_t>(kAlphabet[v])] = static_cast<int8_t>(v);
    return table;
}
constexpr std::array<int8_t, 256> kReverse = makeReverse();

}  // namespace

str sixBitEncode(const uint8_t* bytes, size_t n) {
    str out;
    if (n == 0 || !bytes)
        return out;
    const size_t chars = static_cast<size_t>(sixBitLength(n));
    char* o = out.setRaw(static_cast<int>(chars + 1));
    uint32_t bits = 0;  // pending bits, right-aligned
    int pending = 0;
    for (size_t i = 0; i < n; ++i) {
        bits = (bits << 8) | bytes[i];
        pending += 8;
        while (pending >= 6) {
            pending -= 6;
            *o++ = kAlphabet[(bits >> pending) & 63];
        }
    }
    if (pending > 0)
        *o++ = kAlphabet[(bits << (6 - pending)) & 63];
    *o = '\0';
    return out;
}

int64_t sixBitDecode(const char* text, size_t chars, uint8_t* out, size_t capacity) {
    if (!text)
        chars = 0;
    const size_t produced = std::min<uint64_t>(chars * 6 / 8, capacity);
    // Only the characters that carry the produced bytes are read.
    const size_t used = static_cast<size_t>(sixBitLength(produced));
    for (size_t i = 0; i < used; ++i)
        if (kReverse[static_cast<uint8_t>(text[i])] < 0)
            return -1;
    uint32_t bits = 0;
    int pending = 0;
    size_t written = 0;
    for (size_t i = 0; i < used && written < produced; ++i) {
        bits = (bits << 6) | static_cast<uint32_t>(kReverse[static_cast<uint8_t>(text[i])]);
        pending += 6;
        if (pending >= 8) {
            pending -= 8;
            out[written++] = static_cast<uint8_t>(bits >> pending);
        }
    }
    return static_cast<int64_t>(written);
}
