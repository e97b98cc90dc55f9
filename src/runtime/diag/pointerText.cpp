#include "runtime/diag/pointerText.h"

#include <cstdint>

void formatPointer(const void* pointer, char (&text)[kPointerTextSize]) {
    static const char kDigits[] = "0123456789ABCDEF";
    uintptr_t value = reinterpret_cast<uintptr_t>(pointer);
    for (size_t i = kPointerDigits; i > 0; --i) {
        text[i - 1] = kDigits[value & 0xf];
        value >>= 4;
    }
    text[kPointerDigits] = '\0';
}

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

bool parsePointer(const char* text, void*& out) {
    if (text == nullptr)
        return false;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    uintptr_t value = 0;
    size_t digits = 0;
    for (; *text != '\0'; ++text, ++digits) {
        const int digit = digitValue(*text);
        if (digit < 0 || digits == kPointerDigits)
            return false;
        value = value << 4 | static_cast<uintptr_t>(digit);
    }
    if (digits == 0)
        return false;
    out = reinterpret_cast<void*>(value);
    return true;
}
