// The typed value that every tree node carries.
//
// A value is a key (the name of an entry), a text, a number, or one of two
// opaque pointers that the tree only copies and compares by identity. Keys
// and texts own their str; nothing else is owned. The record also remembers
// where in a text form the value was read from, so that messages about a
// loaded tree can name the line.
#pragma once

#include "runtime/str/str.h"

#include <cstdint>

enum : int32_t {
    MV_NONE = 0,
    MV_KEY = 1,
    MV_STRING = 2,
    MV_DOUBLE = 3,  // integers are stored as doubles too
    MV_PTR = 4,
    MV_PTR2 = 5,
};

// Where a value came from: the line of the text form it was read from and 0,
// or -1/-1 for a value that was not read from text.
struct metaSrcPosS {
    int32_t line = -1;
    int32_t aux = -1;

    static metaSrcPosS none() { return {}; }
    static metaSrcPosS textLine(int32_t line) { return {line, 0}; }
};

class metaValueC {
public:
    metaValueC() = default;
    // Kinds MV_KEY and MV_STRING: the text is copied into a new str. Other
    // kinds leave the record empty.
    metaValueC(int32_t kind, metaSrcPosS pos, const str& text);
    metaValueC(int32_t kind, metaSrcPosS pos, const char* text);
    // Kind MV_DOUBLE only.
    metaValueC(int32_t kind, metaSrcPosS pos, double x);
    // Kind MV_DOUBLE only: the signed integer converted to double.
    metaValueC(int32_t kind, metaSrcPosS pos, int32_t n);
    // Kinds MV_PTR and MV_PTR2 only: the pointer is stored, not owned.
    metaValueC(int32_t kind, metaSrcPosS pos, void* p);
    metaValueC(const metaValueC& other) { assign(other); }
    metaValueC& operator=(const metaValueC& other) {
        assign(other);
        return *this;
    }
    ~metaValueC() { clear(); }

    // Takes kind, payload and source position of other; a text is copied
    // into this record's own str.
    void assign(const metaValueC& other);
    // Deletes an owned text and leaves the kind MV_NONE.
    void clear();
    // Same kind and same payload: texts byte for byte (a missing text counts
    // as empty), numbers numerically, pointers by identity. MV_NONE equals
    // nothing.
    bool equals(const metaValueC& other) const;

    int32_t kind() const { return kind_; }
    bool isText() const { return kind_ == MV_KEY || kind_ == MV_STRING; }
    metaSrcPosS srcPos() const { return {srcLine_, srcAux_}; }

    // The text of a key or string; the process-wide empty str otherwise.
    const str& text() const;
    // The number of an MV_DOUBLE; 0.0 otherwise.
    double number() const { return kind_ == MV_DOUBLE ? payload_.number : 0.0; }
    // The pointer of MV_PTR/MV_PTR2; null otherwise.
    void* pointer() const { return kind_ == MV_PTR || kind_ == MV_PTR2 ? payload_.pointer : nullptr; }
    // The eight payload bytes read as a double, whatever the kind: the
    // accessor layer reads vectors this way.
    double rawDouble() const { return payload_.number; }

    // Makes the record a key or string holding text (its str is reused when
    // it already owns one); the source position is left alone.
    void setText(int32_t kind, const char* text);
    // Makes the record the number x; the source position is left alone.
    void setNumber(double x);
    void setSrcPos(metaSrcPosS pos) {
        srcLine_ = pos.line;
        srcAux_ = pos.aux;
    }

private:
    union payloadU {
        double number;
        str* text;
        void* pointer;
    };
    static_assert(sizeof(payloadU) == 8);

    payloadU payload_{0.0};
    int32_t kind_ = MV_NONE;
    int32_t srcLine_ = -1;
    int32_t srcAux_ = -1;
};

// The one empty text that getters hand out when there is nothing to read.
const str& metaEmptyText();
