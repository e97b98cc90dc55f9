// Single-byte accesses that a memory checker must judge: out of line and
// through volatile pointers, so that the compiler keeps each of them as the
// one access it is.
#pragma once

__attribute__((noinline)) inline void writeByte(unsigned char* p) {
    *static_cast<volatile unsigned char*>(p) = 1;
}

__attribute__((noinline)) inline unsigned char readByte(const unsigned char* p) {
    return *static_cast<const volatile unsigned char*>(p);
}
