// The handle shared by every base of one meta object: the node viewed and
// whether the handle owns it.
//
// Classes that combine several meta object bases derive from this one
// virtually, so all their bases view the same node with the same ownership.
// An owning handle deletes its node, with the node's descendants and
// following siblings, when it lets go; owned nodes are therefore roots or
// nodes taken out of their tree.
#pragma once

#include "metatree/metaTree.h"

#include <cstdint>

class metaObjectVirtualDataBaseC {
public:
    static constexpr uint32_t kOwn = 1;

    metaObjectVirtualDataBaseC() = default;
    // Copying an owning handle copies its tree; a non-owning one aliases it.
    metaObjectVirtualDataBaseC(const metaObjectVirtualDataBaseC& other) { assign(other); }
    metaObjectVirtualDataBaseC& operator=(const metaObjectVirtualDataBaseC& other) {
        assign(other);
        return *this;
    }
    // Virtual so that handler objects built on meta objects can be deleted
    // through any of their bases.
    virtual ~metaObjectVirtualDataBaseC() { release(); }

    bool valid() const { return node_ != nullptr; }
    metaTreeC* node() const { return node_; }
    bool owns() const { return (flags_ & kOwn) != 0; }

    // Only an empty handle takes a node; false when nothing was taken.
    bool attach(metaTreeC* node, bool own);
    // Deletes an owned node, then empties the handle.
    void release();
    // Views what other views: an owned node is copied (with the copy hooks)
    // and the copy is owned; a shared node is shared without ownership.
    void assign(const metaObjectVirtualDataBaseC& other);
    // assign() for an empty handle and a valid other; own -1 keeps the
    // ownership that assign() gave, 0 and 1 set it.
    void assignIfEmpty(const metaObjectVirtualDataBaseC& other, int own);
    // Takes the node out of its tree and sets the ownership; false for an
    // empty handle.
    bool detach(bool own);

private:
    void setOwn(bool own) { flags_ = own ? (flags_ | kOwn) : (flags_ & ~kOwn); }

    uint32_t flags_ = 0;
    metaTreeC* node_ = nullptr;
};
