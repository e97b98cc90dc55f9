// Pre-order walk over a chain with a depth limit.
//
// Searches, counts and copies all visit a chain in the same order: a node,
// then its descendants, then its next sibling. The walk climbs back through
// the parent links instead of recursing, so a deeply nested tree (a text
// form can nest as deep as it likes) cannot exhaust the stack.
#pragma once

#include <cstdint>

template <class Node>
class preOrderWalkT {
public:
    // depth 0 visits the chain itself only; each further level below the
    // chain costs one; a negative depth never runs out. With firstOnly the
    // walk stays with the head and its descendants.
    preOrderWalkT(Node* chain, int32_t depth, bool firstOnly)
        : node_(chain), depth_(depth), firstOnly_(firstOnly) {}

    Node* node() const { return node_; }
    // 0 for the nodes of the chain, 1 for their children, and so on.
    int64_t level() const { return level_; }

    void advance() {
        if (node_->firstChild && depth_ - level_ != 0) {
            node_ = node_->firstChild;
            ++level_;
            return;
        }
        for (;;) {
            if (level_ == 0 && firstOnly_) {
                node_ = nullptr;
                return;
            }
            if (node_->next) {
                node_ = node_->next;
                return;
            }
            if (level_ == 0) {
                node_ = nullptr;
                return;
            }
            node_ = node_->parent;
            --level_;
        }
    }

private:
    Node* node_;
    int64_t depth_;
    int64_t level_ = 0;
    bool firstOnly_;
};
