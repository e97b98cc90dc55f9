#include "metatree/metaObject.h"

#include "metatree/metaNodeCompare.h"
#include "metatree/treeSearch.h"

metaTreeC* metaObjectC::parentNode() const { return node() ? node()->parent : nullptr; }

const str& metaObjectC::keyText() const {
    return isKeyNode() ? node()->value.text() : metaEmptyText();
}

bool metaObjectC::isKeyNode() const { return node() && node()->isKey(); }

bool metaObjectC::isKey(const char* name) const { return node() && node()->isKey(name); }

metaTreeC* metaObjectC::findChild(const char* key) const {
    return key ? findKey(firstValue(), key, 0) : nullptr;
}

metaTreeC* metaObjectC::findChildNr(int32_t nr, const char* key) const {
    if (!key)
        return nullptr;
    metaNodeCompareKeyNrC comparator(nr, key);
    return find(firstValue(), comparator, 0);
}

metaTreeC* metaObjectC::findOrCreateChild(const char* key) {
    if (!node() || !key)
        return nullptr;
    if (metaTreeC* child = findChild(key))
        return child;
    return node()->addKey(key);
}

metaTreeC* metaObjectC::childAt(int32_t i) const {
    if (i < 0)
        return nullptr;
    metaTreeC* child = firstValue();
    for (; child && i > 0; --i)
        child = child->next;
    return child;
}

int32_t metaObjectC::childCount() const {
    int32_t n = 0;
    for (metaTreeC* child = firstValue(); child; child = child->next)
        ++n;
    return n;
}

int32_t metaObjectC::countKey(const char* key) const {
    if (!key)
        return 0;
    metaNodeCompareKeyC comparator(key);
    return count(firstValue(), comparator, 0);
}

metaTreeC* metaObjectC::findAncestor(const char* key) const {
    for (metaTreeC* a = parentNode(); a; a = a->parent)
        if (a->isKey(key))
            return a;
    return nullptr;
}

metaObjectC createRoot(const char* key, bool own) { return metaObjectC(createKeyNode(key), own); }
