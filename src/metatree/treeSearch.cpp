#include "metatree/treeSearch.h"

#include "metatree/treeWalk.h"

#include <vector>

bool contains(const metaTreeC* chain, const metaTreeC* target, bool firstOnly) {
    if (!chain || !target)
        return false;
    // Climbing from the target reaches the chain's level at most once; the
    // node met there is in the chain when it is the head or follows it.
    for (const metaTreeC* a = target; a; a = a->parent) {
        if (a == chain)
            return true;
        if (a->parent == chain->parent) {
            if (firstOnly)
                return false;
            for (const metaTreeC* s = chain->next; s; s = s->next)
                if (s == a)
                    return true;
            return false;
        }
    }
    return false;
}

metaTreeC* find(metaTreeC* chain, metaNodeCompareInterfaceC& comparator, int32_t depth) {
    if (!chain)
        return nullptr;
    preOrderWalkT<metaTreeC> walk(chain, depth, false);
    for (; metaTreeC* n = walk.node(); walk.advance())
        if (comparator.accept(n))
            return n;
    return nullptr;
}

int32_t count(metaTreeC* chain, metaNodeCompareInterfaceC& comparator, int32_t depth) {
    if (!chain)
        return 0;
    int32_t found = 0;
    preOrderWalkT<metaTreeC> walk(chain, depth, false);
    for (; metaTreeC* n = walk.node(); walk.advance())
        if (comparator.accept(n))
            ++found;
    return found;
}

metaTreeC* findNext(metaTreeC* node, metaNodeCompareInterfaceC& comparator, int32_t depth) {
    return node ? find(node->next, comparator, depth) : nullptr;
}

metaTreeC* findPrevious(metaTreeC* node, metaNodeCompareInterfaceC& comparator, int32_t depth) {
    if (!node)
        return nullptr;
    const int32_t below = depth < 0 ? depth : depth - 1;
    for (metaTreeC* s = node->prev; s; s = s->prev) {
        if (comparator.accept(s))
            return s;
        if (depth != 0)
            if (metaTreeC* hit = find(s->firstChild, comparator, below))
                return hit;
    }
    return nullptr;
}

metaTreeC* findKey(metaTreeC* chain, const char* key, int32_t depth) {
    metaNodeCompareKeyC comparator(key);
    return find(chain, comparator, depth);
}

metaTreeC* findNextKey(metaTreeC* node, const char* key, int32_t depth) {
    metaNodeCompareKeyC comparator(key);
    return findNext(node, comparator, depth);
}

metaTreeC* findPreviousKey(metaTreeC* node, const char* key, int32_t depth) {
    metaNodeCompareKeyC comparator(key);
    return findPrevious(node, comparator, depth);
}

namespace {

bool includedIn(const metaTreeC* node, const metaTreeC* candidate) {
    if (!node->value.equals(candidate->value))
        return false;
    if (!node->firstChild)
        return true;
    return candidate->firstChild && containedIn(node->firstChild, candidate->firstChild, false);
}

}  // namespace

bool containedIn(const metaTreeC* chain, const metaTreeC* pattern, bool firstOnly) {
    if (!chain)
        return false;
    std::vector<bool> paired;  // by position in the pattern chain
    for (const metaTreeC* n = chain; n; n = firstOnly ? nullptr : n->next) {
        size_t pos = 0;
        const metaTreeC* p = pattern;
        for (; p; p = p->next, ++pos)
            if ((pos >= paired.size() || !paired[pos]) && includedIn(n, p))
                break;
        if (!p)
            return false;
        if (pos >= paired.size())
            paired.resize(pos + 1);
        paired[pos] = true;
    }
    return true;
}
