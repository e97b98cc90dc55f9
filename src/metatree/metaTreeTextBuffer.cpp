#include "metatree/metaTreeTextBuffer.h"

#include "runtime/str/strEscape.h"

#include <cmath>
#include <cstdio>
#include <cstring>

metaTreeTextBufferC::metaTreeTextBufferC(bool pretty) : pretty_(pretty) { bytes_.allocate(kInitialBytes); }

// Growing by a fixed step would copy a large text over and over: a buffer
// that has to grow takes what is needed plus the step, and at least doubles.
bool metaTreeTextBufferC::reserve(size_t n) {
    if (overflow_)
        return false;
    if (n > kMaxTextBytes - length_) {
        overflow_ = true;
        return false;
    }
    const size_t needed = length_ + n;
    const size_t capacity = static_cast<size_t>(bytes_.bytes());
    if (needed <= capacity)
        return true;
    size_t grown = needed + kInitialBytes;
    if (grown < 2 * capacity)
        grown = 2 * capacity;
    if (grown > kMaxTextBytes)
        grown = kMaxTextBytes;
    bytes_.resize(grown);
    return true;
}

void metaTreeTextBufferC::append(const char* text, size_t n) {
    if (n == 0 || !reserve(n))
        return;
    std::memcpy(bytes_.data() + length_, text, n);
    length_ += n;
}

void metaTreeTextBufferC::appendTabs(int64_t n) {
    if (n <= 0 || !reserve(static_cast<size_t>(n)))
        return;
    std::memset(bytes_.data() + length_, '\t', static_cast<size_t>(n));
    length_ += static_cast<size_t>(n);
}

void metaTreeTextBufferC::newLine(int64_t depth) {
    if (!pretty_)
        return;
    appendChar('\n');
    appendTabs(depth);
}

void metaTreeTextBufferC::appendNumber(double x) {
    char text[40];
    int n;
    if (x == std::trunc(x) && std::fabs(x) < 1e14 && !(x == 0.0 && std::signbit(x))) {
        // Whole numbers of up to 14 digits are what trees hold most; "%.14g"
        // writes them as plain integers, and so does this shorter road.
        n = std::snprintf(text, sizeof(text), "%lld", static_cast<long long>(x));
    } else {
        n = std::snprintf(text, sizeof(text), "%.*g", 14, x);
    }
    if (n > 0)
        append(text, static_cast<size_t>(n));
}

void metaTreeTextBufferC::writeValue(const metaTreeC* node) {
    node_ = node;
    switch (node->value.kind()) {
    case MV_KEY: {
        const str& key = node->value.text();
        append(key.text(), static_cast<size_t>(key.length()));
        break;
    }
    case MV_STRING: {
        const str escaped = escape(node->value.text().text());
        appendChar('"');
        append(escaped.text(), static_cast<size_t>(escaped.length()));
        appendChar('"');
        break;
    }
    case MV_DOUBLE:
        appendNumber(node->value.number());
        break;
    default:
        break;
    }
}

void metaTreeTextBufferC::writeChain(const metaTreeC* chain, bool firstOnly) {
    const metaTreeC* n = chain;
    int64_t depth = 0;
    // Whether the walk goes on to the node's next sibling: with firstOnly
    // the head's siblings are left out.
    auto hasNext = [&](const metaTreeC* node) { return node->next && !(depth == 0 && firstOnly); };
    while (n && !overflow_) {
        writeValue(n);
        if (n->firstChild) {
            appendChar('{');
            ++depth;
            newLine(depth);
            n = n->firstChild;
            continue;
        }
        if (hasNext(n)) {
            appendChar(',');
            n = n->next;
            continue;
        }
        // The list ended: close brace groups until one has a next sibling.
        for (;;) {
            if (depth == 0) {
                n = nullptr;
                break;
            }
            n = n->parent;
            --depth;
            newLine(depth);
            appendChar('}');
            if (hasNext(n)) {
                newLine(depth);
                n = n->next;
                break;
            }
        }
    }
    node_ = nullptr;
}
