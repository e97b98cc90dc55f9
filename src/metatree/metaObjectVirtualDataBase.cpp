#include "metatree/metaObjectVirtualDataBase.h"

#include "metatree/copyWithHooks.h"
#include "metatree/treeSearch.h"
#include "metatree/treeStamp.h"

bool metaObjectVirtualDataBaseC::attach(metaTreeC* node, bool own) {
    if (node_ || !node)
        return false;
    node_ = node;
    setOwn(own);
    return true;
}

void metaObjectVirtualDataBaseC::release() {
    metaTreeC* owned = owns() ? node_ : nullptr;
    node_ = nullptr;
    flags_ = 0;
    delete owned;
}

void metaObjectVirtualDataBaseC::assign(const metaObjectVirtualDataBaseC& other) {
    if (&other == this)
        return;
    metaTreeC* take = other.node_;
    bool own = false;
    if (take && other.owns()) {
        take = copyWithHooks(take, false);
        own = true;
    } else if (take && owns() && contains(node_, take, false)) {
        // The node to view lies in the tree this handle is about to delete:
        // it is taken out first and kept alive, and since nobody else owns
        // it any more, this handle does.
        if (take == node_)
            return;
        take->unlink();
        bumpTreeStamp();
        own = true;
    }
    release();
    node_ = take;
    setOwn(own);
}

void metaObjectVirtualDataBaseC::assignIfEmpty(const metaObjectVirtualDataBaseC& other, int own) {
    if (node_ || !other.node_)
        return;
    assign(other);
    if (own != -1)
        setOwn(own != 0);
}

bool metaObjectVirtualDataBaseC::detach(bool own) {
    if (!node_)
        return false;
    node_->unlink();
    bumpTreeStamp();
    setOwn(own);
    return true;
}
