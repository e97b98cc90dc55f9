// Managed objects, owned buffers and paged arrays on the module's allocator.
#include "runtime/memory/memManDataPoolC.h"
#include "runtime/memory/memManSystemC.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/memory/pageMemT.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int32_t live() { return memPoolAllocatorC::instance().liveBlocks(); }

struct managedS : memManInterfaceC {
    int value = 7;
};

struct alignas(64) overAlignedS : memManInterfaceC {
    char bytes[10];
};

TEST(MemManInterfaceTest, ManagedObjectsLiveInTheModuleAllocator) {
    const int32_t before = live();
    memManInterfaceC* object = new managedS;
    EXPECT_EQ(live(), before + 1);
    EXPECT_EQ(object->memSystem(memManInterfaceC::kForAlloc), &memManSystemC::instance());
    auto* p = static_cast<char*>(object->memAlloc(10));
    std::memcpy(p, "abcdefghi", 10);
    auto* q = static_cast<char*>(object->memRealloc(p, 4));
    EXPECT_NE(q, p);
    EXPECT_EQ(std::memcmp(q, "abcd", 4), 0);
    object->memFree(q);
    delete object;  // through the virtual destructor
    EXPECT_EQ(live(), before);

    auto* aligned = new overAlignedS;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % 64, 0u);
    delete aligned;
    EXPECT_EQ(live(), before);
}

TEST(MemManDataPoolTest, OwnsExactlyOneBuffer) {
    const int32_t before = live();
    {
        memManDataPoolC<char> a;
        a.set("hello", 6);
        memManDataPoolC<char> b(a);
        EXPECT_NE(b.data(), a.data());
        EXPECT_STREQ(b.data(), "hello");
        b.resize(3);
        EXPECT_EQ(b.bytes(), 3);
        EXPECT_EQ(std::memcmp(b.data(), "hel", 3), 0);
        EXPECT_EQ(live(), before + 2);
        // Empty sources leave no buffer behind.
        b.set(nullptr, 5);
        a.assign(b);
        EXPECT_EQ(a.data(), nullptr);
        EXPECT_EQ(live(), before);
        // Sizes beyond the 32-bit size field are refused, never cut.
        a.set("keep", 5);
        EXPECT_THROW(a.resize(size_t{INT32_MAX} + 1), std::bad_alloc);
        EXPECT_STREQ(a.data(), "keep");
    }
    EXPECT_EQ(live(), before);
}

struct countedS {
    countedS() { ++constructed; }
    countedS(const countedS&) = default;
    countedS& operator=(const countedS&) = default;
    ~countedS() { ++destroyed; }
    int value = 0;
    static inline int constructed = 0;
    static inline int destroyed = 0;
};

TEST(PageMemTest, GrowsByPagesAndKeepsThem) {
    pageMemT<int, 3> a;
    for (int i = 0; i < 9; ++i) a.append() = i * 10;
    EXPECT_EQ(a.pageCount(), 2);
    int* first = &a.at(0);
    a.removeAt(0);
    EXPECT_EQ(a.count(), 8u);
    EXPECT_EQ(a.pageCount(), 2);
    EXPECT_EQ(a.at(0), 10);
    EXPECT_EQ(a.at(7), 80);
    a.removeAt(8);  // past the end
    EXPECT_EQ(a.count(), 8u);

    for (int i = 0; i < 100; ++i) a.append() = i;
    EXPECT_EQ(&a.at(0), first);  // appending never moves an element
    a.reset();
    EXPECT_EQ(a.pageCount(), 14);
    a.append() = 5;
    EXPECT_EQ(&a.at(0), first);
    pageMemT<int, 3> copy(a);
    EXPECT_EQ(copy.count(), 1u);
    EXPECT_EQ(copy.at(0), 5);
    a.clear();
    EXPECT_EQ(a.pageCount(), 0);
}

TEST(PageMemTest, PagesConstructAndDestroyEveryElement) {
    const int32_t before = live();
    {
        pageMemT<countedS, 2> a;
        for (int i = 0; i < 5; ++i) a.append().value = i;
        EXPECT_EQ(countedS::constructed, 8);
        pageMemT<countedS, 2> b;
        b = a;
        EXPECT_EQ(b.at(4).value, 4);
    }
    EXPECT_EQ(countedS::destroyed, countedS::constructed);
    EXPECT_EQ(live(), before);
}

}  // namespace
