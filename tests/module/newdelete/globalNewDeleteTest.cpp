// Global new and delete, as the module defines them, reach the pooled
// allocator in every form.
#include "runtime/memory/memPoolAllocatorC.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace {

memPoolAllocatorC& pool() { return memPoolAllocatorC::instance(); }

// The compiler may leave out an allocation whose block nobody uses.
template <class T>
T* used(T* p) {
    asm volatile("" : : "r"(p) : "memory");
    return p;
}

struct alignas(32) wideS {
    double lanes[4];
};

TEST(GlobalNewDeleteTest, EveryFormGoesToThePool) {
    const int32_t live = pool().liveBlocks();
    int* one = used(new int(3));
    {
        memPoolInspectScopeC open(pool());  // the header is the allocator's
        EXPECT_EQ(memPoolAllocatorC::blockSize(pool().header(one)), sizeof(int));
    }
    char* array = used(new char[300]);
    void* quiet = ::operator new[](24, std::nothrow);
    EXPECT_EQ(pool().liveBlocks(), live + 3);
    delete one;
    delete[] array;
    ::operator delete[](quiet, 24);
    EXPECT_EQ(pool().liveBlocks(), live);
    {
        std::vector<int> numbers(1000);  // the standard library too
        std::string text(200, 'x');
        EXPECT_EQ(pool().liveBlocks(), live + 2);
    }
    EXPECT_EQ(pool().liveBlocks(), live);

    volatile size_t huge = SIZE_MAX - 16;  // not a constant the compiler rejects
    EXPECT_THROW((void)::operator new(huge), std::bad_alloc);
    EXPECT_EQ(::operator new(huge, std::nothrow), nullptr);
    EXPECT_EQ(pool().liveBlocks(), live);
}

TEST(GlobalNewDeleteTest, OverAlignedObjectsComeFromTheHeapAtTheirAlignment) {
    const int32_t live = pool().liveBlocks();
    auto* wide = used(new wideS[3]);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(wide) % 32, 0u);
    EXPECT_EQ(pool().header(wide)->owner, kMemOwnerHeap);
    delete[] wide;
    // Every block carries the allocator's header: any delete form takes it.
    void* page = ::operator new(100, std::align_val_t{4096});
    EXPECT_EQ(reinterpret_cast<uintptr_t>(page) % 4096, 0u);
    ::operator delete(page);
    EXPECT_EQ(pool().liveBlocks(), live);
}

}  // namespace
