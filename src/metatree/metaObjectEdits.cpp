// Structural edits through a meta object. Each one moves treeStamp.
#include "metatree/metaObject.h"

#include "metatree/copyWithHooks.h"
#include "metatree/treeSearch.h"
#include "metatree/treeStamp.h"

namespace {

// Turns the caller's subtree into the free chain to link in: a copy, or the
// given nodes cut out of the list they may still be part of. Moving nodes
// that hold `guard` (the node the chain goes below or beside) would link a
// tree into itself, so that is refused with false.
bool takeSubtree(metaTreeC*& subtree, bool copy, const metaTreeC* guard) {
    if (!subtree)
        return true;
    if (copy) {
        subtree = copyWithHooks(subtree, false);
        return true;
    }
    if (contains(subtree, guard, false))
        return false;
    subtree->unlinkChain();
    return true;
}

}  // namespace

void metaObjectC::clearChildren() {
    if (!node())
        return;
    node()->deleteChildren();
    bumpTreeStamp();
}

// The subtree is taken before the child's children go, so that a subtree
// that was one of them (moved or copied) survives.
metaTreeC* metaObjectC::resetChild(metaTreeC* child, const char* missingKey, metaTreeC* subtree, bool copy) {
    if (!node() || (!child && !missingKey))
        return nullptr;
    if (!takeSubtree(subtree, copy, child ? child : node()))
        return nullptr;
    if (child)
        child->deleteChildren();
    else
        child = node()->addKey(missingKey);
    if (subtree)
        subtree->appendTo(child);
    bumpTreeStamp();
    return child;
}

metaTreeC* metaObjectC::setChild(const char* key, metaTreeC* subtree, bool copy) {
    return resetChild(findChild(key), key, subtree, copy);
}

metaTreeC* metaObjectC::setChildNr(int32_t nr, const char* key, metaTreeC* subtree, bool copy) {
    return resetChild(findChildNr(nr, key), key, subtree, copy);
}

metaTreeC* metaObjectC::setChildAt(int32_t i, metaTreeC* subtree, bool copy) {
    return resetChild(childAt(i), nullptr, subtree, copy);
}

bool metaObjectC::replaceWith(const metaTreeC* source) {
    if (!node() || !source)
        return false;
    // Everything is copied before this node's children go: source may be
    // this node or lie below it.
    metaTreeC* children = copyWithHooks(source->firstChild, false);
    metaValueC v(source->value);
    node()->deleteChildren();
    node()->value = v;
    if (children)
        children->prependTo(node());
    bumpTreeStamp();
    return true;
}

metaTreeC* metaObjectC::appendChild(metaTreeC* subtree, bool copy) {
    if (!node() || !subtree || !takeSubtree(subtree, copy, node()))
        return nullptr;
    subtree->appendTo(node());
    bumpTreeStamp();
    return subtree;
}

metaTreeC* metaObjectC::addChild(const char* key, metaTreeC* subtree, bool copy) {
    if (!node() || !key || !takeSubtree(subtree, copy, node()))
        return nullptr;
    metaTreeC* child = node()->addKey(key);
    if (subtree)
        subtree->appendTo(child);
    bumpTreeStamp();
    return child;
}

metaTreeC* metaObjectC::insertChild(metaTreeC* before, metaTreeC* after, metaTreeC* subtree, bool copy) {
    if (!node() || !subtree)
        return nullptr;
    if (before ? before->parent != node() : after && after->parent != node())
        return nullptr;
    metaTreeC* anchor = before ? before : after ? after : node();
    if (!takeSubtree(subtree, copy, anchor))
        return nullptr;
    if (before)
        subtree->insertBefore(before);
    else if (after)
        subtree->insertAfter(after);
    else
        subtree->appendTo(node());
    bumpTreeStamp();
    return subtree;
}

metaTreeC* metaObjectC::moveChild(int32_t from, int32_t to) {
    metaTreeC* moved = childAt(from);
    metaTreeC* anchor = to == -1 ? nullptr : childAt(to);
    if (!moved || (to != -1 && !anchor))
        return nullptr;
    if (anchor == moved)
        return moved;
    moved->unlink();
    if (anchor)
        moved->insertBefore(anchor);
    else
        moved->appendTo(node());
    bumpTreeStamp();
    return moved;
}

bool metaObjectC::removeNode(metaTreeC* child) {
    if (!child)
        return false;
    child->unlink();
    delete child;
    bumpTreeStamp();
    return true;
}

bool metaObjectC::removeChild(const char* key) { return removeNode(findChild(key)); }

bool metaObjectC::removeChildNr(int32_t nr, const char* key) { return removeNode(findChildNr(nr, key)); }

bool metaObjectC::removeChildAt(int32_t i) { return removeNode(childAt(i)); }

metaTreeC* metaObjectC::copy(bool hooks, bool firstOnly) const {
    if (!node())
        return nullptr;
    if (hooks)
        return copyWithHooks(node(), firstOnly);
    return firstOnly ? node()->copyTree() : node()->copyChain();
}
