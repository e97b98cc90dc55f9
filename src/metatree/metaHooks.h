// The passes that give registered entry keys their behaviour when a tree is
// loaded from or saved to its text form.
//
// Some entries (references, checksums) hold data that a plain node copy
// cannot carry across a save or a load. Their handlers are registered by key
// (see metaHandlerRegistry.h) and run by these passes. A tree that holds no
// registered key costs only a presence test.
#pragma once

#include "metatree/metaTree.h"

// The load passes over a freshly read tree (with firstOnly only its head and
// the head's descendants): references turn their stored node numbers back
// into addresses. Does nothing when no entry has a storage handler.
void runLoadHooks(metaTreeC* chain, bool firstOnly);

// Prepares the source (checksums are recomputed) and returns the copy to be
// written instead of it, with references turned into node numbers. The caller
// owns and deletes the copy. Null when no entry has a storage handler: the
// source itself is then written.
metaTreeC* runSaveHooks(metaTreeC* chain, bool firstOnly);

// The export copy of a chain (of its head alone with firstOnly) as a save
// writes it: every entry with a storage handler is replaced by what the
// handler's exportNode(root) returns, the other nodes are copied. root is
// the root of the tree being saved. A handler that copies its own record
// builds that copy with this too, so that hooked entries nested in the
// record get their own export form. The caller owns the copy.
metaTreeC* exportCopy(const metaTreeC* chain, bool firstOnly, metaTreeC* root);
