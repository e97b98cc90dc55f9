// The process-wide change counter of meta trees.
//
// Caches built over a tree (positional child caches, node numberings) keep a
// copy of treeStamp and rebuild when it differs: every structural change of
// any tree moves the counter, so a cache never answers from a tree that has
// changed under it. The counter is plain state: trees are used from the
// host's calling thread only.
#pragma once

#include <cstdint>

extern int32_t treeStamp;

// Moves treeStamp on. The counter wraps around instead of overflowing: a
// long-running host makes billions of changes, and a signed overflow would
// be undefined behaviour, whereas a wrapped value still differs from the
// recent ones that caches compare against.
inline void bumpTreeStamp() {
    treeStamp = static_cast<int32_t>(static_cast<uint32_t>(treeStamp) + 1u);
}
