// The global allocation operators of the module: every allocation the
// module's code makes, its statically linked standard library included, goes
// to the module's pooled allocator.
//
// These definitions must stay in the module alone: the version script keeps
// them out of the dynamic symbol table, so the host process keeps its own
// operators. Over-aligned requests go to the runtime heap at their alignment;
// every block carries the allocator's header, so each delete form accepts a
// pointer from any new form.
#include "runtime/memory/memManSystemC.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <cstddef>
#include <new>

namespace {

void* allocOrNull(size_t n) { return memManSystemC::instance().alloc(n); }

void* allocOrThrow(size_t n) {
    if (void* p = allocOrNull(n)) return p;
    throw std::bad_alloc();
}

void* allocAlignedOrNull(size_t n, std::align_val_t alignment) {
    return memPoolAllocatorC::instance().allocAligned(n, static_cast<size_t>(alignment));
}

void* allocAlignedOrThrow(size_t n, std::align_val_t alignment) {
    if (void* p = allocAlignedOrNull(n, alignment)) return p;
    throw std::bad_alloc();
}

void release(void* p) noexcept {
    if (p != nullptr) memManSystemC::instance().free(p);
}

}  // namespace

void* operator new(size_t n) { return allocOrThrow(n); }
void* operator new[](size_t n) { return allocOrThrow(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return allocOrNull(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return allocOrNull(n); }

void* operator new(size_t n, std::align_val_t a) { return allocAlignedOrThrow(n, a); }
void* operator new[](size_t n, std::align_val_t a) { return allocAlignedOrThrow(n, a); }
void* operator new(size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocAlignedOrNull(n, a);
}
void* operator new[](size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return allocAlignedOrNull(n, a);
}

void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { release(p); }
