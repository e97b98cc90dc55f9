// The walks that run entry handlers over a tree: the presence test, the
// post-order pass and the copy in which handlers may replace nodes.
//
// All walks go iteratively through the parent links: a tree read from text
// may nest deeper than the stack allows recursion. With firstOnly a walk
// stays with the chain's head and its descendants.
#pragma once

#include "metatree/metaHandlerRegistry.h"
#include "metatree/metaTree.h"
#include "metatree/treeStamp.h"

#include <cstdint>

enum class walkStepE {
    into,  // visit the node's children next
    over,  // skip the node's children
    stop,  // end the walk
};

// Pre-order: a node, its descendants (unless visit says over), its next
// sibling.
template <class Node, class Visit>
void preOrderVisit(Node* chain, bool firstOnly, Visit visit) {
    Node* n = chain;
    int64_t level = 0;
    while (n) {
        const walkStepE step = visit(n);
        if (step == walkStepE::stop)
            return;
        if (step == walkStepE::into && n->firstChild) {
            n = n->firstChild;
            ++level;
            continue;
        }
        for (;;) {
            if (level == 0 && (firstOnly || !n->next))
                return;
            if (n->next) {
                n = n->next;
                break;
            }
            n = n->parent;
            --level;
        }
    }
}

// Whether any key node of the chain has a handler in the registry. Unlike a
// key, a value node may carry children too (the text form allows it); they
// are examined as well, because the passes visit them.
template <class Handler>
bool hasRegisteredKey(const metaTreeC* chain, bool firstOnly, const metaHandlerRegistryT<Handler>& registry) {
    bool found = false;
    preOrderVisit(chain, firstOnly, [&](const metaTreeC* n) {
        if (n->isKey() && lookupHandler(registry, n->value.text().text())) {
            found = true;
            return walkStepE::stop;
        }
        return walkStepE::into;
    });
    return found;
}

// Runs slot(node) over the chain in post-order (a node's children before the
// node, then its next sibling) and sums the results. A slot may change the
// sub-tree below its node, which has been visited already, but not the
// node's own links.
template <class Slot>
int64_t postOrderPass(metaTreeC* chain, bool firstOnly, Slot slot) {
    if (!chain)
        return 0;
    int64_t sum = 0;
    int64_t level = 0;
    metaTreeC* n = chain;
    auto sink = [&] {
        for (; n->firstChild; ++level)
            n = n->firstChild;
    };
    sink();
    for (;;) {
        sum += slot(n);
        if (level == 0 && firstOnly)
            break;
        if (n->next) {
            n = n->next;
            sink();
            continue;
        }
        if (level == 0)
            break;
        n = n->parent;
        --level;
    }
    return sum;
}

// postOrderPass for the handler slots: call(view) on each node seen through
// a fresh, non-owning View handle (a custom storage or custom copy handle),
// whose base slot hands the call on to the handler registered for the key.
template <class View, class Call>
int64_t handlerPass(metaTreeC* chain, bool firstOnly, Call call) {
    return postOrderPass(chain, firstOnly, [&call](metaTreeC* n) {
        View view(n);
        return call(view);
    });
}

// Copies the chain in pre-order. replace(source) may return the complete
// replacement of a node, sub-tree included, whose source children are then
// not visited; on null the node is copied (value and copy tag) and its
// children follow. The caller owns the copy.
template <class Replace>
metaTreeC* copyReplacing(const metaTreeC* chain, bool firstOnly, Replace replace) {
    if (!chain)
        return nullptr;
    metaTreeC* head = nullptr;
    metaTreeC* parent = nullptr;    // the copy of the source node's parent
    metaTreeC* previous = nullptr;  // the copy of its previous sibling
    const metaTreeC* n = chain;
    int64_t level = 0;
    while (n) {
        metaTreeC* copy = replace(n);
        const bool descend = !copy && n->firstChild;
        if (!copy)
            copy = new metaTreeC(*n);
        if (previous)
            copy->insertAfter(previous);
        else if (parent)
            copy->prependTo(parent);
        else
            head = copy;
        if (descend) {
            parent = copy;
            previous = nullptr;
            n = n->firstChild;
            ++level;
            continue;
        }
        previous = copy;
        for (;;) {
            if (level == 0 && (firstOnly || !n->next)) {
                n = nullptr;
                break;
            }
            if (n->next) {
                n = n->next;
                break;
            }
            n = n->parent;
            --level;
            previous = parent;
            parent = parent->parent;
        }
    }
    bumpTreeStamp();
    return head;
}
