// Key operations that more than one kind of node carries. Each is a mixin
// over the shared handle, so one accessor serves every wrapper whose node
// has the key: reads create the key when it is missing (readString), writes
// set its text (writeString).
#pragma once

#include "translator/metaKeyAccess.h"

class metaKeyNameC : public virtual metaKeyAccessC {
public:
    const str& NAME(int* found = nullptr) { return readString("NAME", found); }
    void NAME(const char* text) { writeString("NAME", text); }
};

class metaKeyVersionC : public virtual metaKeyAccessC {
public:
    const str& VERSION(int* found = nullptr) { return readString("VERSION", found); }
    void VERSION(const char* text) { writeString("VERSION", text); }
};

class metaKeyDescC : public virtual metaKeyAccessC {
public:
    void DESC(const char* text) { writeString("DESC", text); }
};

class metaKeyFileExtC : public virtual metaKeyAccessC {
public:
    void FILEEXT(const char* text) { writeString("FILEEXT", text); }
};
