// Size classes, page layout and the page lists of the pooled allocator.
#include "testPool.h"

#include <vector>

namespace {

using MemPoolPagesTest = memTrackEnvTest;

unsigned char* bytes(void* p) { return static_cast<unsigned char*>(p); }

TEST_F(MemPoolPagesTest, SizeClassBoundaries) {
    testPoolC pool;
    memPoolInspectScopeC open(*pool);
    void* zero = pool->alloc(0);  // class 0: a slot that is only a header
    EXPECT_EQ(pool->classList(0)->slotSize, kMemHeaderSize);
    EXPECT_EQ(pool->header(zero)->page(), pool->classList(0));

    // 13 bytes get a 16-byte element and the guard byte behind the data;
    // 16 bytes fill it, so the header of the slot above stays intact.
    void* thirteen = pool->alloc(13);
    EXPECT_EQ(pool->classList(2)->slotSize, 24u);
    EXPECT_EQ(bytes(thirteen)[13], kMemGuardByte);
    void* sixteen = pool->alloc(16);
    ASSERT_EQ(bytes(sixteen) + 16, bytes(pool->header(thirteen)));
    EXPECT_TRUE(pool->header(thirteen)->inPage());
    EXPECT_EQ(pool->header(thirteen)->size, 13u);

    void* largest = pool->alloc(2040);
    EXPECT_EQ(pool->header(largest)->page(), pool->classList(255));
    void* heap = pool->alloc(2041);
    EXPECT_EQ(pool->header(heap)->owner, kMemOwnerHeap);
    EXPECT_EQ(pool->osBytes(), 2041u);
    EXPECT_EQ(pool->liveBlocks(), 5);

    for (void* p : {zero, thirteen, sixteen, largest, heap}) pool->free(p);
    EXPECT_EQ(pool->osBytes(), 0u);
    EXPECT_EQ(pool->peakBytes(), 3u * kMemPageSlotBytes + 2041u);
    EXPECT_EQ(pool->pageCount(), 3u);  // each the only page of its class
}

TEST_F(MemPoolPagesTest, SlotsFromTheTopAndFullPagesParked) {
    testPoolC pool;
    memPoolInspectScopeC open(*pool);
    std::vector<void*> blocks{pool->alloc(8)};
    memPageS* first = pool->classList(1);
    EXPECT_EQ(first->slotSize, 16u);
    EXPECT_EQ(first->capacity, 625u);
    EXPECT_EQ(pool->header(blocks[0]), first->slot(624));
    while (blocks.size() < 625) blocks.push_back(pool->alloc(5));
    EXPECT_EQ(pool->header(blocks.back()), first->slot(0));
    EXPECT_EQ(pool->classList(1), nullptr);
    EXPECT_EQ(pool->fullList(), first);

    blocks.push_back(pool->alloc(8));
    memPageS* second = pool->classList(1);
    EXPECT_NE(second, first);

    // A released block brings its full page back to the head of the class
    // list, ahead of the other page, and is the next one handed out.
    pool->free(blocks[300]);
    EXPECT_EQ(pool->fullList(), nullptr);
    EXPECT_EQ(pool->classList(1), first);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(pool->alloc(8), blocks[300]);
    EXPECT_EQ(pool->fullList(), first);
    for (void* p : blocks) pool->free(p);
}

TEST_F(MemPoolPagesTest, EmptyPageStaysAloneAndGoesWithANeighbour) {
    testPoolC pool;
    memPoolInspectScopeC open(*pool);
    pool->free(pool->alloc(24));
    memPageS* page = pool->classList(3);
    EXPECT_NE(page, nullptr);
    EXPECT_EQ(pool->pageCount(), 1u);

    std::vector<void*> onFirst;
    for (uint32_t i = 0; i < page->capacity; ++i) onFirst.push_back(pool->alloc(24));
    void* onSecond = pool->alloc(24);
    memPageS* second = pool->classList(3);
    for (void* p : onFirst) pool->free(p);
    EXPECT_EQ(pool->pageCount(), 1u);
    EXPECT_EQ(pool->classList(3), second);
    EXPECT_EQ(second->prev, nullptr);
    pool->free(onSecond);
    EXPECT_EQ(pool->classList(3), second);
}

TEST_F(MemPoolPagesTest, ShutdownFreesIdlePagesAndEveryPageThatEmptiesLater) {
    testPoolC pool;
    void* live = pool->alloc(8);
    pool->free(pool->alloc(100));  // leaves an empty page kept for reuse
    pool->shutdown();  // a block lives: its page stays, the empty one goes
    EXPECT_NE(pool->classList(1), nullptr);
    EXPECT_EQ(pool->classList(13), nullptr);
    pool->free(live);  // ...until they empty
    EXPECT_EQ(pool->classList(1), nullptr);

    testPoolC idle;
    idle->free(idle->alloc(100));
    idle->shutdown();
    EXPECT_EQ(idle->classList(13), nullptr);
    EXPECT_EQ(idle->pageCount(), 1u);  // kept for the reports that follow
}

}  // namespace
