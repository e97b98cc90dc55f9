// A binary value: arbitrary bytes kept in the entries of a meta tree.
//
// The entry viewed holds three children: "CODE" (an integer tag chosen by
// the caller), "SIZE" (the number of bytes) and "DATA" (the bytes in the
// 6-bit text encoding of sixBitCodec.h; absent when SIZE is 0).
#pragma once

#include "metatree/metaObject.h"

#include <cstdint>

class metaObjectBinaryC : public metaObjectC {
public:
    metaObjectBinaryC() = default;
    explicit metaObjectBinaryC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    // Replaces the entry's children by "CODE", "SIZE" and, for a length
    // above 0, "DATA", in that order. Refused (false, nothing changed) for an
    // empty handle, a negative length, null bytes with a length, or a length
    // whose encoding would not fit a string.
    bool storeBytes(const void* bytes, int32_t length, int32_t code);

    // Writes the same values as storeBytes without removing any node: the
    // existing "CODE", "SIZE" and "DATA" entries get the new values (whatever
    // value kind they held), missing ones are created, other children stay.
    // The reference passes write through this while the tree is numbered: a
    // deleted node would leave a dangling pointer among the numbered nodes,
    // and a changed node count would shift the numbers of the nodes after it.
    bool rewriteBytes(const void* bytes, int32_t length, int32_t code);

    // Decodes "DATA" into buffer and returns the number of bytes produced:
    // SIZE when "DATA" is complete, fewer when it is short; a longer "DATA"
    // is cut to SIZE. Returns -1 and leaves buffer untouched when "SIZE" is
    // missing, not above 0 or above capacity, or when "DATA" holds a
    // character outside the encoding's alphabet. Reading creates no entry:
    // it runs inside the save and copy passes, which must not change the
    // tree they read.
    int32_t loadBytes(void* buffer, int32_t capacity) const;

    // The "SIZE" entry's integer; 0 when missing or of another kind.
    int32_t storedSize() const;

private:
    static bool acceptable(const void* bytes, int32_t length);
    int32_t entryInteger(const char* key) const;
};
