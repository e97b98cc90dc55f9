// The copy that meta objects make of a sub-tree they take in or hand out.
//
// Entries such as references need more than a plain node copy: a copied
// reference must point at the copy of its target. Every copy that a meta
// object makes on a caller's behalf goes through this one function, so that
// the handlers for such entries act on all of them.
#pragma once

#include "metatree/metaTree.h"

// A copy of the head with its descendants (firstOnly) or of the whole chain;
// null for a null chain. The caller owns the result.
metaTreeC* copyWithHooks(const metaTreeC* chain, bool firstOnly);
