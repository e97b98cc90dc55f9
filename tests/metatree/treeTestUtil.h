// Helpers that let tree tests state a whole tree in one line.
#pragma once

#include "metatree/metaTree.h"
#include "support/trees/treeText.h"

#include <string>

// Every parent/prev/next link below and along the chain agrees with the
// others, and every node's lastChild() is the end of its child list; the
// head's prev is left to the caller.
bool linksConsistent(const metaTreeC* chain);

// A root key with keyed children built from a list like "A,B,A".
metaTreeC* keyList(const char* root, const char* children);
