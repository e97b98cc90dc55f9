// Byte classes shared by the name and string writers.
#pragma once

// Bytes that may appear unescaped in a name or literal string: the visible
// ASCII characters except the PDF delimiters and the characters that start
// escapes or comments.
inline bool PdfIsRegularByte(unsigned char c) {
    if (c < 0x21 || c > 0x7E)
        return false;
    switch (c) {
    case '\\': case '%': case '#': case '/': case '(': case ')':
    case '<': case '>': case '[': case ']': case '{': case '}':
        return false;
    default:
        return true;
    }
}

inline char PdfHexDigit(unsigned nibble) { return "0123456789ABCDEF"[nibble & 0xF]; }
