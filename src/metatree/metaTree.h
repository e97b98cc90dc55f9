// The meta tree node: links, a typed value and a copy tag.
//
// A tree is its root node. By convention a key node names an entry and the
// entry's value is that node's first child. Nodes are always allocated
// through the memory manager and deleted through their virtual destructor,
// so a tree may be deleted by code other than the code that built it (the
// host deletes the trees the module hands it) and each node still returns to
// the allocator that made it.
#pragma once

#include "metatree/MTreeNode.h"
#include "metatree/metaValue.h"

#include <cstdint>

class metaTreeC : public MTreeNode<metaTreeC> {
public:
    metaTreeC() = default;
    explicit metaTreeC(const metaValueC& v) : value(v) {}
    // Copies value and copy tag; the copy is unlinked.
    metaTreeC(const metaTreeC& other) : MTreeNode(other), value(other.value), copyTag(other.copyTag) {}
    // Drops this node's children and takes it out of its tree, then copies
    // value and copy tag.
    metaTreeC& operator=(const metaTreeC& other);
    // Deletes the descendants and every following sibling (see MTreeNode).
    ~metaTreeC() override;

    // ---- child creation: each returns the new child and moves treeStamp ----
    // position -1, or a position at or past the number of children, appends;
    // otherwise the key is inserted before the child at that 0-based index.
    metaTreeC* addKey(const char* text, int32_t position = -1);
    metaTreeC* addString(const char* text);
    metaTreeC* addDouble(double x);
    metaTreeC* addInteger(int32_t n);

    // insertAfter(node) that counts as a change of the tree.
    void linkAfter(metaTreeC* node);

    // ---- copies: new unlinked nodes, owned by the caller ----
    // This node with all its descendants, without its following siblings.
    metaTreeC* copyTree() const;
    // This node, its descendants and every following sibling with theirs;
    // the copies of the siblings follow the returned copy in the same order.
    metaTreeC* copyChain() const;

    bool isKey() const { return value.kind() == MV_KEY; }
    // A key whose text equals name byte for byte.
    bool isKey(const char* name) const;

    metaValueC value;
    // Free word for the passes that copy a tree (references re-point through
    // it); wide enough for an address.
    uintptr_t copyTag = 0;

private:
    metaTreeC* appendNew(const metaValueC& v);
};

// A new unlinked key node.
metaTreeC* createKeyNode(const char* text);
