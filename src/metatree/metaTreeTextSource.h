// The characters the braced reader consumes: a text in memory or an open
// stdio stream, one character at a time with one character of push-back.
//
// A stream is read in large pieces instead of a call per character: a tree
// file of a hundred megabytes would otherwise spend most of its load inside
// the stdio locks.
#pragma once

#include "runtime/memory/memManDataPoolC.h"

#include <cstdio>

class metaTreeTextSourceC {
public:
    static constexpr int kEnd = -1;

    // Reads the text up to its terminating zero. The text must outlive the
    // reading.
    void openText(const char* text);
    // Reads the stream from where it stands; the stream stays the caller's.
    void openStream(std::FILE* stream);

    // The next character as an unsigned byte, or kEnd.
    int get() {
        if (pos_ < end_)
            return static_cast<unsigned char>(*pos_++);
        return refill();
    }
    // Steps back over the character that the last get() returned; only
    // allowed directly after a get() that did not return kEnd.
    void unget() { --pos_; }

    // True when the input stopped at its real end; false when a stream
    // stopped on a read error.
    bool atEnd() const;

private:
    int refill();

    std::FILE* stream_ = nullptr;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    memManDataPoolC<char> piece_;
};
