#include "runtime/memory/memManInterfaceC.h"

#include "runtime/memory/memManSystemC.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <new>

memManSystemC* memManInterfaceC::memSystem(int /*purpose*/) const { return &memManSystemC::instance(); }

memManInterfaceC::~memManInterfaceC() = default;

void* memManInterfaceC::memAlloc(size_t n) const { return memSystem(kForAlloc)->alloc(n); }

void memManInterfaceC::memFree(void* p) const { memSystem(kForRelease)->free(p); }

void* memManInterfaceC::memRealloc(void* p, size_t n) const { return memSystem(kForAlloc)->realloc(p, n); }

// The class operators use this module's memory system directly: a deleting
// destructor runs in the module that defined the class, so this is the
// system the object came from.
void* memManInterfaceC::operator new(size_t n) {
    if (void* p = memManSystemC::instance().alloc(n)) return p;
    throw std::bad_alloc();
}

void memManInterfaceC::operator delete(void* p) noexcept { memManSystemC::instance().free(p); }

void* memManInterfaceC::operator new(size_t n, std::align_val_t alignment) {
    if (void* p = memPoolAllocatorC::instance().allocAligned(n, static_cast<size_t>(alignment))) return p;
    throw std::bad_alloc();
}

void memManInterfaceC::operator delete(void* p, std::align_val_t) noexcept {
    memPoolAllocatorC::instance().free(p);
}
