#include "runtime/memory/memBlockWalkS.h"

#include "runtime/memory/memPoolAllocatorC.h"

bool memBlockWalkS::next() {
    if (page != nullptr && !skipRest && slot + 1 < page->capacity) {
        ++slot;
        ++id;
        return true;
    }
    skipRest = false;
    page = page != nullptr ? page->next : nullptr;
    while (page == nullptr) {
        if (list >= kMemClassCount) return false;
        ++list;
        page = list < kMemClassCount ? allocator->classList(list) : allocator->fullList();
    }
    slot = 0;
    ++id;
    return true;
}

void* memBlockWalkS::user() const { return allocator->userPointer(block()); }
