// The 6-bit text encoding of binary values.
//
// Bytes are read most significant bit first and regrouped into 6-bit values,
// each written as one character of the alphabet
// "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ,;"; the last
// group is padded with zero bits. n bytes take ceil(8n / 6) characters, and c
// characters give back floor(6c / 8) bytes (the padding bits drop out).
#pragma once

#include "runtime/str/str.h"

#include <cstddef>
#include <cstdint>

// Characters needed for n bytes.
inline uint64_t sixBitLength(uint64_t bytes) { return (bytes * 8 + 5) / 6; }

// The encoding of n bytes; the empty text for n 0. n must leave the encoding
// short enough for a str (sixBitLength(n) < INT32_MAX).
str sixBitEncode(const uint8_t* bytes, size_t n);

// Decodes the characters into at most capacity bytes and returns how many
// were produced: floor(6 * chars / 8), cut to capacity. Characters beyond
// those needed for capacity bytes are not looked at. Returns -1, writing
// nothing, when a character that is needed lies outside the alphabet: such a
// text was not made by the encoder, and guessing a value for the character
// would hand back corrupted bytes as if they were sound.
int64_t sixBitDecode(const char* text, size_t chars, uint8_t* out, size_t capacity);
