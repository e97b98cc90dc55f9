#include "metatree/metaObjPositionCache.h"

#include "metatree/treeStamp.h"

void metaObjPositionCacheC::forget() {
    items.reset();
    cachedNode = nullptr;
}

bool metaObjPositionCacheC::filledFor(const char* key) const {
    return key ? !allChildren && cachedKey.equals(key) : allChildren;
}

void metaObjPositionCacheC::validate(metaTreeC* container, const char* key) {
    if (cachedNode == container && cachedStamp == treeStamp && filledFor(key))
        return;
    items.reset();
    cachedNode = container;
    cachedStamp = treeStamp;
    allChildren = key == nullptr;
    cachedKey = key;
}

metaTreeC* metaObjPositionCacheC::itemAt(metaTreeC* container, int32_t i, const char* key) {
    if (!container || i < -1)
        return nullptr;
    validate(container, key);
    uint32_t have = items.count();
    if (i >= 0 && static_cast<uint32_t>(i) < have)
        return items.at(static_cast<uint32_t>(i));
    metaTreeC* last = have ? items.at(have - 1) : nullptr;
    while (i < 0 || have <= static_cast<uint32_t>(i)) {
        metaTreeC* n = last ? last->next : container->firstChild;
        if (key)
            while (n && !n->isKey(key))
                n = n->next;
        if (!n)
            return nullptr;
        items.append() = n;
        last = n;
        ++have;
    }
    return last;
}

int32_t metaObjPositionCacheC::itemCount(metaTreeC* container, const char* key) {
    if (!container)
        return 0;
    itemAt(container, -1, key);
    return static_cast<int32_t>(items.count());
}

void metaObjPositionCacheC::appended(const metaTreeC* container, int32_t stampBefore) {
    if (cachedNode == container && cachedStamp == stampBefore)
        cachedStamp = treeStamp;
}
