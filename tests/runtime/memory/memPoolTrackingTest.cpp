// Tracking settings read from the environment at initialisation.
#include "runtime/memory/memReport.h"
#include "testPool.h"

#include <string>

namespace {

using MemPoolTrackingTest = memTrackEnvTest;

TEST_F(MemPoolTrackingTest, SettingsAreReadOnce) {
    platform::setEnv("QVMEMTRACK_TYPEINFO", "");
    platform::setEnv("QVMEMTRACK_LEAK", "0");
    platform::setEnv("QVMEMTRACK_OUTPUT", std::string(128, 'p').c_str());  // too long
    memPoolAllocatorC pool;
    pool.initialise();
    EXPECT_EQ(pool.trackFlags(), kMemTrackTypeInfo | kMemTrackLeak);
    EXPECT_EQ(pool.headerSize(), kMemHeaderSize);
    EXPECT_STREQ(pool.outputPath(), "");
    platform::setEnv("QVMEMTRACK_LOCATION", "");
    pool.initialise();
    EXPECT_EQ(pool.headerSize(), kMemHeaderSize);
}

__attribute__((noinline)) void* allocateHere(memPoolAllocatorC& pool, size_t n) {
    void* p = pool.alloc(n);
    asm volatile("" ::: "memory");  // keeps this frame on the stack
    return p;
}

TEST_F(MemPoolTrackingTest, LocationTrackingRecordsTheStackInA136ByteHeader) {
    platform::setEnv("QVMEMTRACK_LOCATION", "1");
    testPoolC pool;
    EXPECT_EQ(pool->headerSize(), 136u);
    void* p = allocateHere(*pool, 8);
    memPoolInspectScopeC open(*pool);
    EXPECT_EQ(pool->classList(1)->slotSize, 144u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);

    const uint64_t* location = pool->header(p)->location();
    const auto caller = reinterpret_cast<uint64_t>(&allocateHere);
    int n = 0;
    bool throughCaller = false;
    for (; n < kMemLocationEntries && location[n] != 0; ++n)
        throughCaller = throughCaller || (location[n] > caller && location[n] < caller + 1024);
    EXPECT_GT(n, 1);
    EXPECT_TRUE(throughCaller);
    pool->free(p);
}

memPoolAllocatorC* g_reported = nullptr;

TEST_F(MemPoolTrackingTest, ShutdownRunsTheLeakReportWhenAsked) {
    memSetLeakReport([](memPoolAllocatorC& pool) { g_reported = &pool; });
    testPoolC quiet;
    quiet->shutdown();
    EXPECT_EQ(g_reported, nullptr);
    platform::setEnv("QVMEMTRACK_LEAK", "");
    testPoolC leaky;
    leaky->shutdown();
    EXPECT_EQ(g_reported, &*leaky);
    memSetLeakReport(nullptr);
}

}  // namespace
