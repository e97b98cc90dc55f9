// Writes meta trees in the braced text form into one growing byte buffer.
//
// The compact layout puts everything on one line: "A{B{1}}C{2,3}". The
// pretty layout gives every brace group its own lines, indented by one tab
// per level, and keeps leaf siblings on one line separated by commas:
//     A{
//     <tab>B{
//     <tab><tab>1
//     <tab>}
//     }
//     C{
//     <tab>2,3
//     }
// Neither ends with a line feed. Keys are written as they are, strings in
// double quotes with their escapes, numbers as "%.14g", other kinds as
// nothing.
//
// The tree is walked along its links, not by recursion, so that a tree of
// any depth can be written.
#pragma once

#include "metatree/metaTree.h"
#include "runtime/memory/memManDataPoolC.h"

#include <cstddef>
#include <cstdint>

class metaTreeTextBufferC {
public:
    static constexpr size_t kInitialBytes = 128000;
    // The longest text one str (and one buffer) can hold; a tree whose text
    // would be longer leaves the buffer incomplete.
    static constexpr size_t kMaxTextBytes = INT32_MAX - 1;

    explicit metaTreeTextBufferC(bool pretty);

    // Appends the text of the chain, or of its head alone with firstOnly.
    void writeChain(const metaTreeC* chain, bool firstOnly);
    // Appends the number as "%.14g" would write it.
    void appendNumber(double x);

    const char* data() const { return bytes_.data() ? bytes_.data() : ""; }
    size_t length() const { return length_; }
    // False when some text did not fit under kMaxTextBytes; nothing more is
    // appended then.
    bool complete() const { return !overflow_; }

private:
    void writeValue(const metaTreeC* node);
    void append(const char* text, size_t n);
    void appendChar(char c) { append(&c, 1); }
    void appendTabs(int64_t n);
    // Line feed and indentation, in the pretty layout only.
    void newLine(int64_t depth);
    bool reserve(size_t n);

    memManDataPoolC<char> bytes_;
    size_t length_ = 0;
    bool overflow_ = false;
    bool pretty_;
    const metaTreeC* node_ = nullptr;  // the node being written
};
