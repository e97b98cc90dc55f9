// Addresses as the diagnostics print them ("%p" in the report formats and in
// the manager chain's variable): every digit of the address in upper-case
// hexadecimal, 16 on a 64-bit build, without prefix. The width is fixed so
// that report columns line up and the same text means the same address in
// every module, whatever its C library makes of "%p".
#pragma once

#include <cstddef>

constexpr size_t kPointerDigits = 2 * sizeof(void*);
constexpr size_t kPointerTextSize = kPointerDigits + 1;

void formatPointer(const void* pointer, char (&text)[kPointerTextSize]);

// Reads an address back: an optional "0x" or "0X" and 1 to kPointerDigits
// hexadecimal digits of either case, nothing else. False (and out untouched)
// for any other text.
bool parsePointer(const char* text, void*& out);
