#include "translator/metaKeyAccess.h"

#include "metatree/metaObject.h"

namespace {

void setFound(int* found, int value) {
    if (found)
        *found = value;
}

}  // namespace

metaTreeC* metaKeyAccessC::keyFindOrCreate(const char* key) {
    return metaObjectC(node()).findOrCreateChild(key);
}

metaTreeC* metaKeyAccessC::keyCreate(const char* key) { return metaObjectC(node()).addChild(key); }

metaTreeC* metaKeyAccessC::keyFind(const char* key) const { return metaObjectC(node()).findChild(key); }

bool metaKeyAccessC::keyAppend(metaTreeC* subtree) {
    return metaObjectC(node()).appendChild(subtree, false) != nullptr;
}

const str& metaKeyAccessC::readString(const char* key, int* found) {
    return metaObjectC(keyFindOrCreate(key)).getString(found);
}

const str& metaKeyAccessC::findString(const char* key, int* found) const {
    return metaObjectC(keyFind(key)).getString(found);
}

void metaKeyAccessC::writeString(const char* key, const char* text) {
    metaObjectC(keyFindOrCreate(key)).setString(text);
}

void metaKeyAccessC::writeNumber(const char* key, int32_t n) {
    metaObjectC(keyFindOrCreate(key)).setInteger(n);
}

vectorC3d metaKeyAccessC::readVector(const char* key, int* found) {
    setFound(found, 0);
    const metaTreeC* entry = keyFindOrCreate(key);
    if (!entry)
        return {};
    double xyz[3];
    int n = 0;
    for (const metaTreeC* child = entry->firstChild; child; child = child->next, ++n) {
        // Only numbers are coordinates: the payload of a text or pointer
        // read as a double would be an address, not a position.
        if (n == 3 || child->value.kind() != MV_DOUBLE)
            return {};
        xyz[n] = child->value.number();
    }
    if (n != 3)
        return {};
    setFound(found, 1);
    return {xyz[0], xyz[1], xyz[2]};
}

void metaKeyAccessC::writeVector(const char* key, const vectorC3d& v) {
    metaTreeC* entry = keyFindOrCreate(key);
    if (!entry)
        return;
    metaObjectC(entry).clearChildren();
    entry->addDouble(v.x);
    entry->addDouble(v.y);
    entry->addDouble(v.z);
}
