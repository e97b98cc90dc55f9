// Walks every slot of the pools, free and live alike, in the order the
// reports number them: class lists 0 to 255, then the full list; within a
// list the pages from the head along next; within a page slot 0 to
// capacity - 1. Each visited slot gets an ordinal counted from 1, the Id the
// reports print.
//
//   memBlockWalkS walk(allocator);
//   while (walk.next()) use(walk.block(), walk.id);
#pragma once

#include "runtime/memory/memBlock.h"

#include <cstdint>

class memPoolAllocatorC;

struct memBlockWalkS {
    explicit memBlockWalkS(const memPoolAllocatorC& allocator) : allocator(&allocator) {}

    // Moves to the next slot; false when every slot was visited.
    bool next();
    // The next call to next() goes on with the following page.
    void skipPage() { skipRest = true; }

    memBlockHeadS* block() const { return page->slot(slot); }
    void* user() const;

    const memPoolAllocatorC* allocator;
    int list = -1;            // 0..255 class lists, 256 the full list
    memPageS* page = nullptr; // page of the current slot
    uint32_t slot = 0;        // index of the current slot in its page
    int32_t id = 0;           // ordinal of the current slot, from 1
    bool skipRest = false;
};
