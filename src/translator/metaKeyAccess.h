// The key operations from which the translator's tree wrappers are made.
//
// A wrapper views one node N of a request or capability tree and never owns
// it. Each operation finds or creates one child key of N and reads or writes
// that entry's value through the meta object operations; on a wrapper
// without node every operation does nothing and yields the empty result. The
// handle is a virtual base, so that a key mixin (metaSharedKeys.h) and the
// wrapper that combines it see the same node.
#pragma once

#include "metatree/metaObjectVirtualDataBase.h"
#include "translator/vectorC3d.h"

#include <cstdint>

class str;

class metaKeyAccessC : public virtual metaObjectVirtualDataBaseC {
protected:
    // The first child key equal to key (byte for byte), else a new key
    // appended as N's last child.
    metaTreeC* keyFindOrCreate(const char* key);
    // A new key always appended as N's last child.
    metaTreeC* keyCreate(const char* key);
    // The first child key equal to key, or null; nothing is created.
    metaTreeC* keyFind(const char* key) const;
    // Links an unlinked subtree as N's last child; false when nothing was
    // linked (no node), and the caller still owns the subtree then.
    bool keyAppend(metaTreeC* subtree);

    // The entry's text with found 1, or the empty text with found 0 when the
    // value is missing or not a text. The text belongs to the tree.
    const str& readString(const char* key, int* found);
    // readString without creating the key.
    const str& findString(const char* key, int* found) const;
    // A missing value is created; a value of another kind stays unchanged.
    void writeString(const char* key, const char* text);
    void writeNumber(const char* key, int32_t n);
    // Exactly three number children give (x, y, z) with found 1; anything
    // else gives the zero vector with found 0.
    vectorC3d readVector(const char* key, int* found);
    // The entry's value becomes exactly the three numbers x, y, z.
    void writeVector(const char* key, const vectorC3d& v);
};
