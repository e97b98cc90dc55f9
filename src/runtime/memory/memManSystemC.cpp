#include "runtime/memory/memManSystemC.h"

#include "runtime/memory/memPoolAllocatorC.h"

// Constant-initialised and never destroyed: a managed object released during
// static destruction still finds its memory system intact.
constinit memManSystemC memManSystemC::instance_;

void* memManSystemC::alloc(size_t n) { return memPoolAllocatorC::instance().alloc(n); }

void memManSystemC::free(void* p) { memPoolAllocatorC::instance().free(p); }

void* memManSystemC::realloc(void* p, size_t n) { return memPoolAllocatorC::instance().realloc(p, n); }
