// A text built in caller-provided storage, without allocation, locale or
// stdio: what the crash path can still do inside a signal handler. Text that
// does not fit is dropped; the buffer always stays terminated.
#pragma once

#include <cstddef>
#include <cstdint>

class fixedTextC {
public:
    // capacity counts the terminator and must be at least 1.
    fixedTextC(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) { clear(); }
    fixedTextC(const fixedTextC&) = delete;
    fixedTextC& operator=(const fixedTextC&) = delete;

    void clear();
    fixedTextC& append(const char* text);
    // "%d"
    fixedTextC& appendDecimal(int64_t value);
    // "%x": lower-case digits, no padding.
    fixedTextC& appendHex(uint64_t value);
    // "%02x"
    fixedTextC& appendHexByte(uint8_t value);

    const char* text() const { return buffer_; }
    size_t length() const { return length_; }

private:
    void put(char c);

    char* buffer_;
    size_t capacity_;
    size_t length_ = 0;
};
