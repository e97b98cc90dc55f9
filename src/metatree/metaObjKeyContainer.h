// A meta object over a container node whose children are repeated items,
// with a positional cache for indexed access.
//
// One container object serves one item key at a time; asking it for another
// key (or for all children) refills its cache.
#pragma once

#include "metatree/metaObjPositionCache.h"
#include "metatree/metaObject.h"

#include <cstdint>

class metaObjKeyContainerC : public metaObjectC {
public:
    metaObjKeyContainerC() = default;
    explicit metaObjKeyContainerC(metaTreeC* node, bool own = false) : metaObjectC(node, own) {}

    // ---- items: the children that are the key ----
    // Item i, through the cache; i = -1 caches every item and returns null.
    metaTreeC* itemAt(int32_t i, const char* key);
    int32_t itemCount(const char* key);
    // Appends new key children until there are n items; they are linked
    // together first and appended in one step.
    void ensureItems(const char* key, int32_t n);
    metaTreeC* itemAtCreate(const char* key, int32_t i);
    metaTreeC* addItem(const char* key);
    // Removes every item; returns how many there were.
    int32_t removeItems(const char* key);
    // Position among all children, or among the items of key; -1 if absent.
    int32_t indexOf(const metaTreeC* item) const;
    int32_t indexOf(const char* key, const metaTreeC* item) const;

    // ---- plain lists: every child counts ----
    metaTreeC* nodeAt(int32_t i);
    // The text of a key or string child; the empty text otherwise.
    const str& textAt(int32_t i);
    // Overwrite child i's value, whatever it was; false when there is none.
    bool setKeyAt(int32_t i, const char* text);
    bool setStringAt(int32_t i, const char* text);
    metaTreeC* appendString(const char* text);
    // Appends string children until there are n children.
    void ensureStrings(int32_t n, const char* text);

private:
    // Links a free chain after the last child, keeping the cache valid;
    // returns the chain.
    metaTreeC* appendChain(metaTreeC* chain);
    bool overwriteAt(int32_t i, int32_t kind, const char* text);

    metaObjPositionCacheC cache_;
};
