// Wrappers over the nodes of a conversion request, as the host fills it:
//
//   NAME, VERSION, OUTPUTLOCATION          texts
//   CUSTOMDATA / ENTRIES / ENTRY (KEY, TEXT) ...
//   INPUTDATA / <input record> (FILENAME, U3DBOXMIN, U3DBOXMAX)
//
// Reads create the keys they look for when these are missing (the host sees
// them after the call); INPUTDATA and ENTRY nodes are only looked up. The
// "find" reads create nothing. No wrapper owns its node, and the request
// stays the host's.
#pragma once

#include "metatree/metaObjKeyContainer.h"
#include "metatree/metaObject.h"
#include "translator/metaSharedKeys.h"

class requestEntryC : public metaObjectC, public virtual metaKeyAccessC {
public:
    explicit requestEntryC(metaTreeC* node) : metaObjectC(node) {}
    const str& KEY(int* found = nullptr) { return readString("KEY", found); }
    const str& TEXT(int* found = nullptr) { return readString("TEXT", found); }
    void KEY(const char* text) { writeString("KEY", text); }
    void TEXT(const char* text) { writeString("TEXT", text); }
    const str& findKEY(int* found = nullptr) const { return findString("KEY", found); }
    const str& findTEXT(int* found = nullptr) const { return findString("TEXT", found); }
};

class requestEntriesC : public metaObjKeyContainerC, public virtual metaKeyAccessC {
public:
    explicit requestEntriesC(metaTreeC* node) : metaObjKeyContainerC(node) {}
    // The last ENTRY in child order whose KEY matches key without regard to
    // case, or an empty wrapper. Every KEY examined is created when missing.
    requestEntryC ENTRY(const char* key) { return lastEntry(key, true); }
    // The same entry, found without creating anything: an ENTRY without a
    // KEY text matches no key.
    requestEntryC findENTRY(const char* key) { return lastEntry(key, false); }
    // A new ENTRY with both texts, appended last, so that it is the one
    // ENTRY and findENTRY find for its key. It is complete before it joins
    // the list: a failed allocation leaves no half-made entry behind.
    void addENTRY(const char* key, const char* text);

private:
    requestEntryC lastEntry(const char* key, bool createKeys);
};

class requestCustomDataC : public metaObjectC, public virtual metaKeyAccessC {
public:
    explicit requestCustomDataC(metaTreeC* node) : metaObjectC(node) {}
    requestEntriesC ENTRIES() { return requestEntriesC(keyFindOrCreate("ENTRIES")); }
};

// The input record: the first child of INPUTDATA, whatever its key.
class requestInputC : public metaObjectC, public virtual metaKeyAccessC {
public:
    explicit requestInputC(metaTreeC* node) : metaObjectC(node) {}
    const str& FILENAME(int* found = nullptr) { return readString("FILENAME", found); }
    vectorC3d U3DBOXMIN(int* found = nullptr) { return readVector("U3DBOXMIN", found); }
    vectorC3d U3DBOXMAX(int* found = nullptr) { return readVector("U3DBOXMAX", found); }
    // What a host writes.
    void FILENAME(const char* path) { writeString("FILENAME", path); }
    void U3DBOXMIN(const vectorC3d& v) { writeVector("U3DBOXMIN", v); }
    void U3DBOXMAX(const vectorC3d& v) { writeVector("U3DBOXMAX", v); }
};

class requestRootC : public metaObjectC, public metaKeyNameC, public metaKeyVersionC {
public:
    explicit requestRootC(metaTreeC* node) : metaObjectC(node) {}
    const str& OUTPUTLOCATION(int* found = nullptr) { return readString("OUTPUTLOCATION", found); }
    void OUTPUTLOCATION(const char* path) { writeString("OUTPUTLOCATION", path); }
    requestCustomDataC CUSTOMDATA() { return requestCustomDataC(keyFindOrCreate("CUSTOMDATA")); }
    // CUSTOMDATA/ENTRIES looked up without creating either: empty when one
    // is missing.
    requestEntriesC findENTRIES() const;
    // Empty without INPUTDATA or with an INPUTDATA that has no children;
    // INPUTDATA is never created.
    requestInputC INPUTDATA() const;
    // A new input record (key recordKey) appended under INPUTDATA, which is
    // created when missing: what a host fills with FILENAME and the box. The
    // module converts the first record only.
    requestInputC addINPUT(const char* recordKey);
};
