// Base class of every managed object.
//
// A managed object reaches the memory system of the module that built it
// through its first virtual slot, so an object made by one module and changed
// or deleted by another still returns its memory to the right allocator. The
// slot order (memSystem, then the destructor) is shared between modules and
// fixed.
#pragma once

#include <cstddef>
#include <new>

class memManSystemC;

class memManInterfaceC {
public:
    // Purpose of a memSystem call.
    static constexpr int kForRelease = 0;
    static constexpr int kForAlloc = 1;

    memManInterfaceC() = default;
    memManInterfaceC(const memManInterfaceC&) = default;
    memManInterfaceC& operator=(const memManInterfaceC&) = default;

    // The module's memory system; the purpose (kForAlloc before allocating
    // or reallocating, kForRelease before releasing) is a hint only.
    virtual memManSystemC* memSystem(int purpose) const;
    virtual ~memManInterfaceC();

    void* memAlloc(size_t n) const;
    void memFree(void* p) const;
    void* memRealloc(void* p, size_t n) const;

    // Managed objects live in the pooled allocator even where the global
    // operators are not replaced (unit tests, the command-line host).
    static void* operator new(size_t n);
    static void operator delete(void* p) noexcept;
    // Over-aligned subclasses get runtime heap blocks at their alignment.
    static void* operator new(size_t n, std::align_val_t alignment);
    static void operator delete(void* p, std::align_val_t alignment) noexcept;
    // Declaring the class operator new hides the placement form.
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}
};
