#include "metatree/metaObjKeyContainer.h"

#include "metatree/treeStamp.h"

metaTreeC* metaObjKeyContainerC::itemAt(int32_t i, const char* key) {
    return key ? cache_.itemAt(node(), i, key) : nullptr;
}

int32_t metaObjKeyContainerC::itemCount(const char* key) {
    return key ? cache_.itemCount(node(), key) : 0;
}

namespace {

// n >= 1 new nodes holding v, linked as one free chain.
metaTreeC* newChain(const metaValueC& v, int32_t n) {
    metaTreeC* head = new metaTreeC(v);
    for (metaTreeC* tail = head; --n > 0;) {
        metaTreeC* item = new metaTreeC(v);
        item->insertAfter(tail);
        tail = item;
    }
    return head;
}

}  // namespace

metaTreeC* metaObjKeyContainerC::appendChain(metaTreeC* chain) {
    const int32_t before = treeStamp;
    chain->appendTo(node());
    bumpTreeStamp();
    cache_.appended(node(), before);
    return chain;
}

void metaObjKeyContainerC::ensureItems(const char* key, int32_t n) {
    if (!node() || !key)
        return;
    const int32_t missing = n - itemCount(key);
    if (missing > 0)
        appendChain(newChain(metaValueC(MV_KEY, metaSrcPosS::none(), key), missing));
}

metaTreeC* metaObjKeyContainerC::itemAtCreate(const char* key, int32_t i) {
    if (i < 0 || i == INT32_MAX)
        return nullptr;
    ensureItems(key, i + 1);
    return itemAt(i, key);
}

metaTreeC* metaObjKeyContainerC::addItem(const char* key) {
    if (!node() || !key)
        return nullptr;
    return appendChain(createKeyNode(key));
}

int32_t metaObjKeyContainerC::removeItems(const char* key) {
    if (!node() || !key)
        return 0;
    int32_t removed = 0;
    for (metaTreeC* child = node()->firstChild; child;) {
        metaTreeC* next = child->next;
        if (child->isKey(key)) {
            child->unlink();
            delete child;
            ++removed;
        }
        child = next;
    }
    bumpTreeStamp();
    return removed;
}

int32_t metaObjKeyContainerC::indexOf(const metaTreeC* item) const {
    int32_t i = 0;
    for (const metaTreeC* child = node() ? node()->firstChild : nullptr; child; child = child->next, ++i)
        if (child == item)
            return i;
    return -1;
}

int32_t metaObjKeyContainerC::indexOf(const char* key, const metaTreeC* item) const {
    if (!key)
        return -1;
    int32_t i = 0;
    for (const metaTreeC* child = node() ? node()->firstChild : nullptr; child; child = child->next) {
        if (!child->isKey(key))
            continue;
        if (child == item)
            return i;
        ++i;
    }
    return -1;
}

metaTreeC* metaObjKeyContainerC::nodeAt(int32_t i) { return cache_.itemAt(node(), i, nullptr); }

const str& metaObjKeyContainerC::textAt(int32_t i) {
    metaTreeC* child = nodeAt(i);
    return child ? child->value.text() : metaEmptyText();
}

bool metaObjKeyContainerC::overwriteAt(int32_t i, int32_t kind, const char* text) {
    metaTreeC* child = nodeAt(i);
    if (!child)
        return false;
    child->value.setText(kind, text);
    child->value.setSrcPos(metaSrcPosS::none());
    // Which children are items of a key may have changed.
    bumpTreeStamp();
    return true;
}

bool metaObjKeyContainerC::setKeyAt(int32_t i, const char* text) { return overwriteAt(i, MV_KEY, text); }

bool metaObjKeyContainerC::setStringAt(int32_t i, const char* text) { return overwriteAt(i, MV_STRING, text); }

metaTreeC* metaObjKeyContainerC::appendString(const char* text) {
    if (!node())
        return nullptr;
    return appendChain(newChain(metaValueC(MV_STRING, metaSrcPosS::none(), text), 1));
}

void metaObjKeyContainerC::ensureStrings(int32_t n, const char* text) {
    if (!node())
        return;
    const int32_t missing = n - childCount();
    if (missing > 0)
        appendChain(newChain(metaValueC(MV_STRING, metaSrcPosS::none(), text), missing));
}
