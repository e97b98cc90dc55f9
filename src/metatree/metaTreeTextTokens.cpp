// The tokenizer of the braced reader: words, quoted strings, braces.
#include "metatree/metaTreeTextReader.h"

namespace {

// ASCII letters and digits and "+-.@_"; bytes outside ASCII are no word
// characters, whatever the locale says.
bool isWordChar(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.' || c == '@' || c == '_';
}

bool isSeparator(int c) { return c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == ','; }

// The token buffer grows by at least this much. It grows geometrically
// beyond that, so that a single huge word or string costs linear time.
constexpr size_t kTokenStep = 32000;

}  // namespace

void metaTreeTextReaderC::nextToken() {
    tokenLength_ = 0;
    if (tokenBytes_.data())
        tokenBytes_[0] = '\0';
    for (;;) {
        const int c = source_.get();
        if (c == metaTreeTextSourceC::kEnd) {
            token_ = kTokenEnd;
            return;
        }
        if (c == '"') {
            readString();
            return;
        }
        if (c == '{' || c == '}') {
            token_ = c == '{' ? kTokenOpen : kTokenClose;
            return;
        }
        // Saturates instead of overflowing on a file of more lines than
        // the counter holds.
        if (c == '\n' && line_ < INT32_MAX)
            ++line_;
        if (isSeparator(c))
            continue;
        if (isWordChar(c)) {
            source_.unget();
            readWord();
            return;
        }
        fail("ill seperator char");
        return;
    }
}

void metaTreeTextReaderC::readWord() {
    token_ = kTokenWord;
    for (;;) {
        const int c = source_.get();
        if (c == metaTreeTextSourceC::kEnd)
            return;
        if (!isWordChar(c)) {
            source_.unget();
            return;
        }
        if (!push(c))
            return;
    }
}

// The escapes stay in the token; the parser resolves them. A quote ends the
// string unless an unescaped backslash stands right before it.
void metaTreeTextReaderC::readString() {
    token_ = kTokenString;
    bool escaped = false;
    for (;;) {
        const int c = source_.get();
        if (c == metaTreeTextSourceC::kEnd) {
            fail("unexpected eof file");
            return;
        }
        if (c == '"' && !escaped)
            return;
        if (!push(c))
            return;
        escaped = c == '\\' && !escaped;
    }
}

bool metaTreeTextReaderC::push(int c) {
    if (tokenLength_ >= maxTokenBytes_) {
        fail("token too long");
        return false;
    }
    // Room for the byte and the terminator.
    const size_t needed = tokenLength_ + 2;
    const size_t capacity = static_cast<size_t>(tokenBytes_.bytes());
    if (needed > capacity) {
        size_t grown = capacity + kTokenStep > 2 * capacity ? capacity + kTokenStep : 2 * capacity;
        if (grown > maxTokenBytes_ + 1)
            grown = maxTokenBytes_ + 1;
        tokenBytes_.resize(grown);
    }
    tokenBytes_[tokenLength_++] = static_cast<char>(c);
    tokenBytes_[tokenLength_] = '\0';
    return true;
}
