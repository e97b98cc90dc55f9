// Positional cache over the children of one container node.
//
// Indexed access to repeated items must not rescan the children for every
// index: the cache remembers the items found so far, in order, and extends
// the list from the last one it holds. It is valid while the container and
// the item key it was filled for are unchanged and treeStamp has not moved
// since the fill; otherwise it starts over.
#pragma once

#include "metatree/metaTree.h"
#include "runtime/memory/pageMemT.h"
#include "runtime/str/str.h"

#include <cstdint>

class metaObjPositionCacheC {
public:
    metaObjPositionCacheC() = default;
    // A cache belongs to one object: a copy starts empty.
    metaObjPositionCacheC(const metaObjPositionCacheC&) {}
    metaObjPositionCacheC& operator=(const metaObjPositionCacheC&) {
        forget();
        return *this;
    }

    // Item i of the container: its i-th child that is the key, or its i-th
    // child of any kind for a null key. i = -1 caches every item. Null past
    // the last item.
    metaTreeC* itemAt(metaTreeC* container, int32_t i, const char* key);
    // Number of items (fills the cache).
    int32_t itemCount(metaTreeC* container, const char* key);

    // A chain was appended to the container after its last child, and
    // treeStamp moved from stampBefore for that alone: what the cache holds
    // is still in place, so it stays valid and later fills continue behind
    // it.
    void appended(const metaTreeC* container, int32_t stampBefore);
    void forget();

private:
    void validate(metaTreeC* container, const char* key);
    bool filledFor(const char* key) const;

    pageMemT<metaTreeC*, 5> items;
    metaTreeC* cachedNode = nullptr;
    int32_t cachedStamp = 0;
    // The key the items were collected for; a cache of all children has
    // none. Recorded so that asking one container for two keys in turn does
    // not answer the second from the first's list.
    str cachedKey;
    bool allChildren = false;
};
