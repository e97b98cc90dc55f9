#include "metatree/metaTree.h"

#include "metatree/treeStamp.h"
#include "metatree/treeWalk.h"

#include <cstring>

metaTreeC::~metaTreeC() {
    bumpTreeStamp();
    value.clear();
    // MTreeNode's destructor deletes the descendants and following siblings.
}

metaTreeC& metaTreeC::operator=(const metaTreeC& other) {
    if (&other == this)
        return *this;
    // The value is taken first: other may be one of the children that are
    // about to go.
    metaValueC v(other.value);
    uintptr_t tag = other.copyTag;
    detach();
    value = v;
    copyTag = tag;
    return *this;
}

bool metaTreeC::isKey(const char* name) const {
    return name && value.kind() == MV_KEY && std::strcmp(value.text().text(), name) == 0;
}

metaTreeC* metaTreeC::appendNew(const metaValueC& v) {
    metaTreeC* child = new metaTreeC(v);
    child->appendTo(this);
    bumpTreeStamp();
    return child;
}

metaTreeC* metaTreeC::addKey(const char* text, int32_t position) {
    metaTreeC* before = firstChild;
    for (int32_t i = 0; before && i < position; ++i)
        before = before->next;
    if (position < 0 || !before)
        return appendNew(metaValueC(MV_KEY, metaSrcPosS::none(), text));
    metaTreeC* child = createKeyNode(text);
    child->insertBefore(before);
    bumpTreeStamp();
    return child;
}

metaTreeC* metaTreeC::addString(const char* text) {
    return appendNew(metaValueC(MV_STRING, metaSrcPosS::none(), text));
}

metaTreeC* metaTreeC::addDouble(double x) {
    return appendNew(metaValueC(MV_DOUBLE, metaSrcPosS::none(), x));
}

metaTreeC* metaTreeC::addInteger(int32_t n) {
    return appendNew(metaValueC(MV_DOUBLE, metaSrcPosS::none(), n));
}

void metaTreeC::linkAfter(metaTreeC* node) {
    insertAfter(node);
    bumpTreeStamp();
}

namespace {

// Copies the head, or the whole chain, in one pre-order walk: each copy is
// linked either as the first child of the copy made just before it (the walk
// went down a level) or after the copy of its previous sibling (found by
// climbing from the last copy as far as the walk climbed).
metaTreeC* copyNodes(const metaTreeC* head, bool firstOnly) {
    metaTreeC* headCopy = new metaTreeC(*head);
    metaTreeC* last = headCopy;
    int64_t lastLevel = 0;
    preOrderWalkT<const metaTreeC> walk(head, -1, firstOnly);
    for (walk.advance(); const metaTreeC* source = walk.node(); walk.advance()) {
        metaTreeC* copy = new metaTreeC(*source);
        if (walk.level() > lastLevel) {
            copy->prependTo(last);
        } else {
            for (; lastLevel > walk.level(); --lastLevel)
                last = last->parent;
            copy->insertAfter(last);
        }
        last = copy;
        lastLevel = walk.level();
    }
    bumpTreeStamp();
    return headCopy;
}

}  // namespace

metaTreeC* metaTreeC::copyTree() const { return copyNodes(this, true); }

metaTreeC* metaTreeC::copyChain() const { return copyNodes(this, false); }

metaTreeC* createKeyNode(const char* text) {
    return new metaTreeC(metaValueC(MV_KEY, metaSrcPosS::none(), text));
}
