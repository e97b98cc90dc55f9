// Numbers the nodes of a tree and finds nodes by address and by copy tag.
//
// References store a node address in memory and a node number in text; the
// conversion between the two must not walk the tree once per reference. The
// numbering collects the nodes of a chain once in pre-order (a node's number
// is its 1-based position) and sorts two index lists, by address and by copy
// tag, so that every lookup is a binary search.
//
// Once built, the numbering is not rebuilt for the same root unless forced:
// the passes that use it change the tree they number (a reference rewrites
// its own value), and the numbers must stay those of the tree as it was when
// the pass began. reset() makes it rebuild on next use.
#pragma once

#include "metatree/metaTree.h"
#include "metatree/treeStamp.h"
#include "runtime/memory/pageMemT.h"

#include <cstdint>

class metaTreeNumberingC {
public:
    // 256 entries a page: a numbering serves trees of any size and keeps its
    // pages from one tree to the next, so few, larger pages cost less than
    // one allocation per handful of nodes.
    static constexpr int kPageBits = 8;

    // Numbers the chain that starts at root (null: nothing) on next use.
    void reset(metaTreeC* root);
    // Collects and sorts when a root is set and either force is given or the
    // numbering was not built since the last reset, unless treeStamp has not
    // moved since the last build.
    void build(bool force);

    metaTreeC* root() const { return root_; }
    // The node numbered n; null for n < 1 or beyond the count.
    metaTreeC* nodeAt(int64_t n);
    // The node's number; 0 when it is not numbered. The node is compared by
    // address only, so a dangling pointer is a safe question.
    int32_t numberOf(const metaTreeC* node);
    // A node whose copyTag is tag; null for tag 0 or when none has it.
    metaTreeC* nodeWithCopyTag(uintptr_t tag);
    // Numbered within the root's own sub-tree (the root's following
    // siblings, numbered after it, excluded).
    bool inRootTree(const metaTreeC* node);
    uint32_t count();
    // Built, and nothing in any tree has changed since.
    bool current() const { return built_ && builtStamp_ == treeStamp; }
    // Frees the pages; the numbering is empty and without root afterwards.
    void clear();

private:
    // The position in nodes_ of the match, or -1.
    template <class Key>
    int64_t lookup(const pageMemT<uint32_t, kPageBits>& sorted, uintptr_t wanted, Key key) const;

    // Every node reachable from root_ in pre-order.
    pageMemT<metaTreeC*, kPageBits> nodes_;
    // Positions in nodes_, sorted by node address.
    pageMemT<uint32_t, kPageBits> byAddress_;
    // Positions of the nodes with a non-null copyTag, sorted by copyTag.
    pageMemT<uint32_t, kPageBits> byCopyTag_;
    metaTreeC* root_ = nullptr;
    int32_t builtStamp_ = -1;
    // builtStamp_ alone cannot tell "never built": treeStamp wraps around and
    // may itself be -1.
    bool built_ = false;
    // Nodes numbered before the walk left the root's sub-tree.
    uint32_t rootTreeCount_ = 0;
};
