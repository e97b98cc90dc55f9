// What AddressSanitizer sees of the pools in the sanitizer build: every
// byte of a page that is not the data of a live block is hidden from the
// program, so a fault inside a pool is reported by the sanitizer itself,
// with the pools in use. Each fault runs in a child process (a death test)
// and must end it with the sanitizer's report of that fault.
#include "poolMisuse.h"
#include "testPool.h"

#include <string>

namespace {

using MemPoolCheckerDeathTest = memTrackEnvTest;

// The sanitizer's report: the kind of fault, then the access.
[[maybe_unused]] std::string poisoned(const char* access) {
    return std::string("AddressSanitizer: use-after-poison on address .*") + access + " of size 1";
}

TEST_F(MemPoolCheckerDeathTest, FaultsInsideThePoolsAreReportedBySanitizer) {
#if !defined(U3DPDF_SANITIZE)
    GTEST_SKIP() << "the pools hide their bookkeeping from a memory checker; this build has none";
#else
    testPoolC pool;
    ASSERT_TRUE(pool->watched());
    // The first block of a fresh page takes its top slot: 8 bytes end where
    // the page's control record begins.
    auto* top = static_cast<unsigned char*>(pool->alloc(8));
    // 13 bytes in a 16-byte element: the guard byte is behind the data.
    auto* thirteen = static_cast<unsigned char*>(pool->alloc(13));
    // 24 bytes fill their slot; the block below the first one ends at the
    // first one's header.
    auto* first = static_cast<unsigned char*>(pool->alloc(24));
    auto* second = static_cast<unsigned char*>(pool->alloc(24));
    {
        memPoolInspectScopeC open(*pool);
        ASSERT_EQ(first, second + 24 + kMemHeaderSize);
        ASSERT_EQ(top + 8, reinterpret_cast<unsigned char*>(&pool->classList(1)->magic));
    }

    EXPECT_DEATH(writeByte(top + 8), poisoned("WRITE"));
    EXPECT_DEATH(writeByte(thirteen + 13), poisoned("WRITE"));
    EXPECT_DEATH(readByte(second + 24), poisoned("READ"));
    EXPECT_DEATH(writeByte(first - 1), poisoned("WRITE"));  // its own header

    // The data of each block are the program's, to the last byte.
    for (unsigned char* end : {top + 7, thirteen + 12, first + 23, second + 23})
        writeByte(end);

    pool->free(second);
    EXPECT_DEATH(readByte(second), poisoned("READ"));
    EXPECT_DEATH(writeByte(second + 23), poisoned("WRITE"));
    // The slot is handed out again, and open to its new block.
    auto* again = static_cast<unsigned char*>(pool->alloc(20));
    ASSERT_EQ(again, second);
    writeByte(again + 19);
    EXPECT_DEATH(writeByte(again + 20), poisoned("WRITE"));

    for (unsigned char* p : {top, thirteen, first, again})
        pool->free(p);
#endif
}

}  // namespace
