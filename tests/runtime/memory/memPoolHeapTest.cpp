// Runtime heap blocks, reallocation and misuse of the pooled allocator.
#include "runtime/memory/memReport.h"
#include "testPool.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include <unistd.h>

namespace {

using MemPoolHeapTest = memTrackEnvTest;

std::string g_output;

struct outputCaptureS {
    outputCaptureS() {
        g_output.clear();
        memSetOutputFunction([](const char* text) {
            EXPECT_LE(std::strlen(text), 80u);
            g_output += text;
        });
    }
    ~outputCaptureS() { memSetOutputFunction(nullptr); }
};

TEST_F(MemPoolHeapTest, ReallocTakesANewBlockWithTheLeadingBytes) {
    testPoolC pool;
    auto* block = static_cast<unsigned char*>(pool->alloc(100));
    for (int i = 0; i < 100; ++i) block[i] = static_cast<unsigned char>(i);
    auto* shrunk = static_cast<unsigned char*>(pool->realloc(block, 40));
    EXPECT_NE(shrunk, block);
    EXPECT_EQ(std::memcmp(shrunk, "\0\1\2\3\4\5\6\7\10\11", 10), 0);
    EXPECT_EQ(shrunk[39], 39);
    EXPECT_EQ(pool->liveBlocks(), 1);
    auto* grown = static_cast<unsigned char*>(pool->realloc(shrunk, 5000));
    EXPECT_EQ(grown[39], 39);
    EXPECT_EQ(pool->osBytes(), 5000u);
    pool->free(grown);

    void* fresh = pool->realloc(nullptr, 40);
    {
        memPoolInspectScopeC open(*pool);
        EXPECT_EQ(pool->header(fresh)->size, 40u);
    }
    EXPECT_EQ(pool->liveBlocks(), 1);
    pool->free(fresh);
}

TEST_F(MemPoolHeapTest, DoubleReleaseIsReportedAndChangesNothing) {
    outputCaptureS capture;
    testPoolC pool;
    void* keep = pool->alloc(24);
    void* twice = pool->alloc(24);
    memPageS* page;
    {
        memPoolInspectScopeC open(*pool);
        page = pool->header(twice)->page();
    }
    // The page as the pools record it; where a memory checker watches, the
    // released slot is hidden again outside the scope.
    auto state = [&] {
        memPoolInspectScopeC open(*pool);
        return std::make_tuple(pool->liveBlocks(), page->used, page->freeHead);
    };
    pool->free(twice);
    const auto before = state();

    pool->free(twice);
    pool->free(twice);
    // One report per extra release, each with the releasing stack (its
    // frame lines are the diagnostics' business).
    const std::string report = "free called on free object\nstack track :\n";
    ASSERT_EQ(g_output.rfind(report, 0), 0u) << g_output;
    const size_t second = g_output.find(report, report.size());
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(g_output.find(report, second + 1), std::string::npos);
    const size_t reported = g_output.size();
    memReportWrite(*pool, std::string(170, 'x').c_str());  // in pieces of 80
    EXPECT_EQ(g_output.size(), reported + 170u);
    EXPECT_EQ(state(), before);
    // Its size is gone too: a released block cannot be reallocated.
    EXPECT_EQ(pool->realloc(twice, 8), nullptr);
    EXPECT_EQ(state(), before);
    pool->free(keep);
}

TEST_F(MemPoolHeapTest, ReportsGoToTheConfiguredFile) {
    char path[] = "/tmp/u3dpdf_memreport_XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    platform::setEnv("QVMEMTRACK_OUTPUT", path);
    outputCaptureS capture;
    {
        testPoolC pool;
        void* p = pool->alloc(8);
        pool->free(p);
        pool->free(p);
        memReportWrite(*pool, std::string(170, 'x').c_str());
    }
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("free called on free object\nstack track :\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 171), "\n" + std::string(170, 'x'));
    EXPECT_EQ(g_output, "");
    std::remove(path);
}

TEST_F(MemPoolHeapTest, AlignedAndOversizedRequests) {
    testPoolC pool;
    void* aligned = pool->allocAligned(100, 256);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % 256, 0u);
    EXPECT_EQ(memPoolAllocatorC::blockSize(pool->header(aligned)), 100u);
    EXPECT_EQ(pool->osBytes(), 100u);
    std::memset(aligned, 0xAB, 100);
    auto* moved = static_cast<unsigned char*>(pool->realloc(aligned, 200));
    EXPECT_EQ(moved[99], 0xAB);
    EXPECT_EQ(pool->osBytes(), 0u);
    pool->free(moved);

    // No heap holds these: they fail instead of wrapping into small blocks.
    EXPECT_EQ(pool->alloc(SIZE_MAX - 4), nullptr);
    EXPECT_EQ(pool->allocAligned(SIZE_MAX - 8, 64), nullptr);
    EXPECT_EQ(pool->liveBlocks(), 0);
    EXPECT_EQ(pool->osBytes(), 0u);
}

TEST_F(MemPoolHeapTest, BypassSendsEveryBlockToTheHeap) {
    // Off unless asked for, in sanitizer builds too: the pools are what
    // the sanitizer is to see.
    EXPECT_EQ(testPoolC(false)->poolBypass(), 0u);
    platform::setEnv("U3DPDF_POOL_BYPASS", "");
    testPoolC pool(false);
    EXPECT_EQ(pool->poolBypass(), 1u);
    void* small = pool->alloc(16);
    EXPECT_EQ(pool->header(small)->owner, kMemOwnerHeap);
    EXPECT_EQ(pool->classList(2), nullptr);
    pool->setPoolBypass(0);
    pool->free(small);
    EXPECT_EQ(pool->osBytes(), 0u);
}

}  // namespace
