// Comparison objects that select nodes during a search.
//
// A comparator holds the text it looks for; a missing text counts as the
// empty one. accept() may keep state between calls (the numbered form counts
// down), so one comparator serves one search.
#pragma once

#include "runtime/str/str.h"

#include <cstdint>

class metaTreeC;

class metaNodeCompareInterfaceC {
public:
    explicit metaNodeCompareInterfaceC(const char* key) : key_(key) {}
    virtual ~metaNodeCompareInterfaceC() = default;
    // Non-zero when the node matches.
    virtual int accept(const metaTreeC* node) = 0;

    const str& key() const { return key_; }

protected:
    metaNodeCompareInterfaceC(const metaNodeCompareInterfaceC&) = default;
    metaNodeCompareInterfaceC& operator=(const metaNodeCompareInterfaceC&) = default;

private:
    str key_;
};

// A key node whose text equals the key byte for byte (letter case counts).
class metaNodeCompareKeyC : public metaNodeCompareInterfaceC {
public:
    explicit metaNodeCompareKeyC(const char* key) : metaNodeCompareInterfaceC(key) {}
    int accept(const metaTreeC* node) override;
};

// The (number+1)-th key node that metaNodeCompareKeyC would accept: matches
// before that are counted down and refused.
class metaNodeCompareKeyNrC : public metaNodeCompareKeyC {
public:
    metaNodeCompareKeyNrC(int32_t number, const char* key) : metaNodeCompareKeyC(key), number_(number) {}
    int accept(const metaTreeC* node) override;

private:
    int32_t number_;
};
