// Searches and tests over a chain of nodes.
//
// All take the head of a chain; a null chain finds nothing, counts zero and
// tests false. depth limits how far below the chain a search looks: 0 the
// chain itself (the direct children when called on a first child), 1 one
// level further, a negative depth the whole sub-tree. Nodes are visited in
// pre-order: a node, its descendants, then its next sibling.
#pragma once

#include "metatree/metaNodeCompare.h"
#include "metatree/metaTree.h"

#include <cstdint>

// True when target is a node of the chain or below it; with firstOnly only
// the head and its descendants count.
bool contains(const metaTreeC* chain, const metaTreeC* target, bool firstOnly);

metaTreeC* find(metaTreeC* chain, metaNodeCompareInterfaceC& comparator, int32_t depth);
int32_t count(metaTreeC* chain, metaNodeCompareInterfaceC& comparator, int32_t depth);
// As find, from node's next sibling on.
metaTreeC* findNext(metaTreeC* node, metaNodeCompareInterfaceC& comparator, int32_t depth);
// Backwards from node's previous sibling: each sibling is tested, then (depth
// permitting) its children are searched forwards.
metaTreeC* findPrevious(metaTreeC* node, metaNodeCompareInterfaceC& comparator, int32_t depth);

// The same searches for a key node with the given text.
metaTreeC* findKey(metaTreeC* chain, const char* key, int32_t depth);
metaTreeC* findNextKey(metaTreeC* node, const char* key, int32_t depth);
metaTreeC* findPreviousKey(metaTreeC* node, const char* key, int32_t depth);

// Tree inclusion: every node of chain (only the head with firstOnly) pairs
// with a distinct node of the pattern chain of equal value whose children in
// turn include the node's children. Pattern nodes are tried in order and the
// first that qualifies is taken. The check recurses once per level of
// nesting of chain.
bool containedIn(const metaTreeC* chain, const metaTreeC* pattern, bool firstOnly);
