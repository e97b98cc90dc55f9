// Reads the braced text form of meta trees.
//
// The form writes keys as bare words, numbers as words that begin with a
// digit, ".", "+" or "-", strings in double quotes with backslash escapes,
// and the children of a node in braces right after it:
//     A{B{1}}C{2,"two"}
// Tab, line feed, carriage return, space and comma separate tokens. Every
// node read carries the line it stood on, so that messages about a loaded
// tree can point into the file.
//
// A reader serves one load at a time; after a failed load errorText() tells
// why and where. Deeply nested input is read with an explicit stack of open
// brace groups, never by recursion, so no nesting depth can exhaust the
// call stack.
#pragma once

#include "metatree/metaObject.h"
#include "metatree/metaTreeTextSource.h"
#include "runtime/memory/memManDataPoolC.h"
#include "runtime/str/str.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

class metaTreeTextReaderC {
public:
    // Token classes, as kept in token().
    enum : int32_t { kTokenEnd = 0, kTokenWord = 1, kTokenString = 2, kTokenOpen = 3, kTokenClose = 4 };

    // The longest text a str can hold; a longer word or string fails the
    // load with "token too long" instead of overflowing its length field.
    static constexpr size_t kMaxTokenBytes = INT32_MAX - 1;

    // maxTokenBytes lowers the token limit (tests use it to reach the limit
    // without gigabytes of input).
    explicit metaTreeTextReaderC(size_t maxTokenBytes = kMaxTokenBytes);
    ~metaTreeTextReaderC();
    metaTreeTextReaderC(const metaTreeTextReaderC&) = delete;
    metaTreeTextReaderC& operator=(const metaTreeTextReaderC&) = delete;

    // Each load returns a handle on the first top-level node that owns the
    // whole parsed chain when own is set (without own the caller deletes the
    // chain through the node). Any failure gives an empty handle and leaves
    // no node behind. An input without any node gives an empty handle too,
    // but is no failure.
    //
    // The file must be readable; it is read as bytes.
    metaObjectC loadTreeFromFile(const char* path, bool own);
    metaObjectC loadTreeFromString(const char* text, bool own);
    // Reads from the stream's current position to its end; the stream is
    // left open.
    metaObjectC loadTreeFromStream(std::FILE* stream, bool own);

    // "Line:<n> - <message>" for the last load. A file or stream that could
    // not be opened fails without a message.
    str errorText() const;
    bool failed() const { return failed_; }
    const str& message() const { return message_; }
    int32_t line() const { return line_; }
    int32_t token() const { return token_; }

private:
    void begin();
    // Parses the whole input within the "C" locale and runs the load hooks;
    // the chain read, or null.
    metaTreeC* load();
    metaTreeC* parse();
    // A node for the word or string token just read; null (and failed) for a
    // number word that is not a number.
    metaTreeC* tokenNode();
    void fail(const char* message);
    void closeStream();

    // Tokenizer (metaTreeTextTokens.cpp).
    void nextToken();
    void readWord();
    void readString();
    bool push(int c);
    const char* tokenText() const { return tokenBytes_.data() ? tokenBytes_.data() : ""; }

    int32_t token_ = kTokenEnd;
    int32_t depth_ = 0;
    bool failed_ = false;
    str message_;
    memManDataPoolC<char> tokenBytes_;  // zero-terminated while filled
    size_t tokenLength_ = 0;
    size_t maxTokenBytes_;
    metaTreeTextSourceC source_;
    std::FILE* stream_ = nullptr;
    bool ownsStream_ = false;
    int32_t line_ = 1;
};
