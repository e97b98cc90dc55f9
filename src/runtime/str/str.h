// The runtime's text class: one exact-size, null-terminated byte buffer
// allocated through the memory system of the module that owns the string.
//
// Text is bytes in the current code page. The empty string has two forms
// that behave alike: no buffer at all (default construction, assigning a null
// text) and a one-byte buffer holding only the terminator (construction from
// the empty text). Wherever a text is read out of a string, a missing buffer
// reads as the empty text.
#pragma once

#include "runtime/memory/memManDataPoolC.h"
#include "runtime/memory/memManInterfaceC.h"

#include <cstddef>
#include <cstdint>

class str : public memManInterfaceC {
public:
    str() = default;
    str(const str& other);
    str& operator=(const str& other);
    // A null text gives the string without buffer.
    str(const char* text);  // NOLINT: implicit on purpose, texts are strings
    str& operator=(const char* text);
    // The bytes text[from] to text[to - 1]; no bounds checks.
    str(const char* text, int from, int to);
    explicit str(int value);            // "%d"
    explicit str(unsigned value);       // "%u"
    explicit str(long value);           // "%ld"
    str(double value, int precision);   // "%.*g"
    ~str() override;

    // ---- queries ----------------------------------------------------------------
    int length() const { return buffer_.bytes() > 0 ? buffer_.bytes() - 1 : 0; }
    // Bytes in the buffer including the terminator; 0 without buffer.
    int size() const { return buffer_.bytes(); }
    // The buffer, or null when there is none.
    const char* data() const { return buffer_.data(); }
    char* data() { return buffer_.data(); }
    // The text; never null.
    const char* text() const;
    char operator[](int i) const { return text()[i]; }

    // Unsigned byte order; a string without buffer sorts before every text
    // but a null one, and a null text sorts before every string with buffer.
    bool less(const char* other) const;
    // Byte-wise equality; null, the empty text and both empty forms are equal.
    bool equals(const char* other) const;
    bool greater(const char* other) const;

    // Byte indices, -1 when absent.
    int find(const char* needle) const;
    int findChar(char c) const;
    int findLastChar(char c) const;
    int findLast(const char* needle) const;
    int findCharNoCase(char c) const;
    int findNoCase(const char* needle) const;

    // ---- pieces --------------------------------------------------------------------
    str substring(int pos, int n) const;
    str left(int n) const { return substring(0, n); }
    str right(int n) const { return substring(length() - n, n); }
    str operator+(const str& other) const;
    str operator+(const char* other) const;

    // ---- modification --------------------------------------------------------------
    str& append(const char* text);
    str& append(const str& other) { return append(other.text()); }
    str& appendBytes(const void* bytes, size_t n);
    str& appendChar(char c);
    str& operator+=(const char* text) { return append(text); }
    str& operator+=(const str& other) { return append(other.text()); }
    str& operator+=(char c) { return appendChar(c); }
    void erase(int pos, int n);
    void insert(int pos, const char* text);
    void trimLeading(char c);
    void trimTrailing(char c);
    void trim(char c);
    void toUpper();
    void toLower();
    // Replaces the buffer by n bytes for the caller to fill, terminator
    // included; returns null and changes nothing for n <= 0.
    char* setRaw(int n);

    bool operator==(const str& other) const { return equals(other.data()); }
    bool operator==(const char* other) const { return equals(other); }
    bool operator<(const str& other) const { return less(other.data()); }
    bool operator<(const char* other) const { return less(other); }

private:
    struct pieceS {
        const char* bytes;
        size_t n;
    };
    // Replaces the buffer by the pieces one after another plus a terminator.
    // The new buffer is filled before the old one is released, so pieces may
    // point into this string.
    void compose(pieceS a, pieceS b, pieceS c = {nullptr, 0});
    void assignText(const char* text);

    memManDataPoolC<char> buffer_;
};
