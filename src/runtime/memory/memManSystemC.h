// The module's memory system: the object through which every managed object
// (memManInterfaceC) reaches the module's pooled allocator.
//
// Its table of operations is the interface between a managed object and the
// allocator of the module that made it, so the slot order is fixed: alloc,
// free, realloc. The one instance is constant-initialised and never
// destroyed, so releases during static destruction still reach the
// allocator.
#pragma once

#include <cstddef>

class memManSystemC {
public:
    constexpr memManSystemC() = default;
    memManSystemC(const memManSystemC&) = delete;
    memManSystemC& operator=(const memManSystemC&) = delete;

    // The module's memory system.
    static memManSystemC& instance() { return instance_; }

    // A new block of n bytes; null only when the runtime heap is exhausted.
    virtual void* alloc(size_t n);
    // Releases a block returned by alloc or realloc; null is ignored.
    virtual void free(void* p);
    // A new block of n bytes holding the first min(n, old size) bytes of p,
    // which is released (even when n is smaller); null p behaves as alloc.
    virtual void* realloc(void* p, size_t n);

private:
    static memManSystemC instance_;
};
