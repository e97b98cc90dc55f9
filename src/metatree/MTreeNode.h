// The links of a tree node and the raw primitives that move chains of nodes.
//
// A tree has no container object: the structure lives entirely in these four
// links. A "chain" is a node together with every node after it along next;
// the primitives move whole chains and set the parent of every node in them.
// They do not touch treeStamp: the operations built on them do.
//
// Besides the four links, every node keeps its last child, so that appending
// a child costs the same whether the parent has one child or a million. The
// primitives here and the destructor keep it exact: links are only ever
// changed through them (the fields are public for reading).
#pragma once

#include "runtime/memory/memManInterfaceC.h"

template <class T>
class MTreeNode : public memManInterfaceC {
public:
    T* parent = nullptr;      // null for a root
    T* next = nullptr;        // null for the last child
    T* firstChild = nullptr;  // null for a leaf
    T* prev = nullptr;        // null for a first child

    MTreeNode() = default;
    // A copy of a node is a new, unlinked node: links are never copied.
    MTreeNode(const MTreeNode&) : memManInterfaceC() {}
    MTreeNode& operator=(const MTreeNode&) = delete;
    ~MTreeNode() override;

    // The last node of the chain that starts here.
    T* lastInChain() {
        MTreeNode* n = this;
        while (n->next)
            n = n->next;
        return static_cast<T*>(n);
    }

    T* lastChild() const { return lastChild_; }

    // Places this chain directly after `node`, under node's parent.
    void insertAfter(T* node) {
        T* last = adoptChain(node->parent);
        if (T* s = node->next) {
            last->next = s;
            s->prev = last;
        } else if (node->parent) {
            node->parent->lastChild_ = last;
        }
        node->next = self();
        prev = node;
    }

    // Makes this chain the first children of `newParent`.
    void prependTo(T* newParent) {
        T* last = adoptChain(newParent);
        if (T* f = newParent->firstChild) {
            last->next = f;
            f->prev = last;
        } else {
            newParent->lastChild_ = last;
        }
        newParent->firstChild = self();
        prev = nullptr;
    }

    // Makes this chain the last children of `newParent`.
    void appendTo(T* newParent) {
        if (T* last = newParent->lastChild())
            insertAfter(last);
        else
            prependTo(newParent);
    }

    // Places this chain directly before `node`.
    void insertBefore(T* node) {
        T* last = adoptChain(node->parent);
        if (T* p = node->prev) {
            prev = p;
            p->next = self();
        } else if (node->parent) {
            node->parent->firstChild = self();
        }
        node->prev = last;
        last->next = node;
    }

    // Removes this single node from its sibling list and repairs the list;
    // the node keeps its children.
    void unlink() {
        if (parent && parent->lastChild_ == self())
            parent->lastChild_ = prev;
        if (prev)
            prev->next = next;
        else if (parent && parent->firstChild == self())
            parent->firstChild = next;
        if (next)
            next->prev = prev;
        parent = next = prev = nullptr;
    }

    // Removes the chain that starts here from its sibling list: the nodes
    // before it stay where they are, this node and all after it become a free
    // chain without parent.
    void unlinkChain() {
        if (parent)
            parent->lastChild_ = prev;
        if (prev)
            prev->next = nullptr;
        else if (parent && parent->firstChild == self())
            parent->firstChild = nullptr;
        prev = nullptr;
        for (MTreeNode* n = this; n; n = n->next)
            n->parent = nullptr;
    }

    // Deletes the whole child chain.
    void deleteChildren() {
        if (firstChild)
            delete firstChild;  // takes its following siblings along
        firstChild = lastChild_ = nullptr;
    }

    // Deletes the children, then takes this node out of its tree.
    void detach() {
        deleteChildren();
        unlink();
    }

private:
    // Null exactly when firstChild is.
    T* lastChild_ = nullptr;

    T* self() { return static_cast<T*>(this); }

    // Sets the parent of every node of this chain; returns the last node.
    T* adoptChain(T* newParent) {
        MTreeNode* n = this;
        for (;;) {
            n->parent = newParent;
            if (!n->next)
                return static_cast<T*>(n);
            n = n->next;
        }
    }
};

// Deleting a node deletes its descendants and every node after it in its
// sibling list. The work is done here, iteratively, for the whole group: the
// nodes still waiting are kept in one list threaded through their own next
// links, so that neither a deep tree nor a long sibling list can exhaust the
// stack. Every node is deleted through its virtual destructor, so each one
// returns to the allocator of the code that created it, and each one arrives
// there without links, so its own destructor has nothing left to walk.
template <class T>
MTreeNode<T>::~MTreeNode() {
    // The list that held this node must not keep pointing into it. Callers
    // unlink single nodes first, so usually only a parent whose first child
    // this was needs repair; the previous sibling's next is cut as well, so
    // that deleting a node in the middle of a list never leaves a dangling
    // link behind (everything after it is going away).
    // (Compared as base pointers: this is no longer a T here.)
    if (parent && static_cast<MTreeNode*>(parent->firstChild) == this)
        parent->firstChild = nullptr;
    if (prev)
        prev->next = nullptr;
    if (parent)
        parent->lastChild_ = prev;

    T* pending = next;
    if (firstChild) {
        firstChild->lastInChain()->next = pending;
        pending = firstChild;
    }
    while (pending) {
        T* n = pending;
        pending = n->next;
        if (T* c = n->firstChild) {
            c->lastInChain()->next = pending;
            pending = c;
        }
        n->parent = n->next = n->prev = n->firstChild = n->lastChild_ = nullptr;
        delete n;
    }
    parent = next = prev = firstChild = lastChild_ = nullptr;
}
