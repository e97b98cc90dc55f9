// Helpers that let tree tests state a whole tree in one line.
#pragma once

#include "metatree/metaTree.h"

#include <string>

// "A(B,'s',3),C": keys bare, strings quoted, numbers as %g, a node's
// children in parentheses, chain members separated by commas.
std::string render(const metaTreeC* chain, bool firstOnly = false);

// Every parent/prev/next link below and along the chain agrees with the
// others, and every node's lastChild() is the end of its child list; the
// head's prev is left to the caller.
bool linksConsistent(const metaTreeC* chain);

// A root key with keyed children built from a list like "A,B,A".
metaTreeC* keyList(const char* root, const char* children);
