#include "runtime/diag/fixedTextC.h"

namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
}

void fixedTextC::clear() {
    length_ = 0;
    buffer_[0] = '\0';
}

void fixedTextC::put(char c) {
    if (length_ + 1 >= capacity_)
        return;
    buffer_[length_++] = c;
    buffer_[length_] = '\0';
}

fixedTextC& fixedTextC::append(const char* text) {
    if (!text)
        return *this;
    while (*text != '\0' && length_ + 1 < capacity_)
        put(*text++);
    return *this;
}

fixedTextC& fixedTextC::appendDecimal(int64_t value) {
    // The magnitude as unsigned, so that the most negative value works too.
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        put('-');
    while (n > 0)
        put(digits[--n]);
    return *this;
}

fixedTextC& fixedTextC::appendHex(uint64_t value) {
    char digits[16];
    int n = 0;
    do {
        digits[n++] = kHexDigits[value & 0xf];
        value >>= 4;
    } while (value != 0);
    while (n > 0)
        put(digits[--n]);
    return *this;
}

fixedTextC& fixedTextC::appendHexByte(uint8_t value) {
    put(kHexDigits[value >> 4]);
    put(kHexDigits[value & 0xf]);
    return *this;
}
