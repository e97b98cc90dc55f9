// The order in which the block walk visits and numbers the slots.
#include "runtime/memory/memBlockWalkS.h"
#include "testPool.h"

#include <vector>

namespace {

using MemBlockWalkTest = memTrackEnvTest;

TEST_F(MemBlockWalkTest, ClassListsInOrderThenTheFullList) {
    testPoolC pool;
    memPoolInspectScopeC open(*pool);
    void* sixteen = pool->alloc(16);  // class 2
    void* zero = pool->alloc(0);      // class 0, set up later, walked first
    std::vector<void*> full{pool->alloc(2040)};
    memPageS* fullPage = pool->classList(255);
    while (full.size() < fullPage->capacity) full.push_back(pool->alloc(2040));
    memPageS* page0 = pool->classList(0);
    memPageS* page2 = pool->classList(2);

    std::vector<memBlockHeadS*> visited;
    memBlockWalkS walk(*pool);
    while (walk.next()) {
        ASSERT_EQ(walk.id, static_cast<int32_t>(visited.size() + 1));
        visited.push_back(walk.block());
    }
    const uint32_t cap0 = page0->capacity;
    ASSERT_EQ(visited.size(), cap0 + page2->capacity + fullPage->capacity);
    EXPECT_EQ(visited[0], page0->slot(0));
    EXPECT_EQ(visited[cap0 - 1], pool->header(zero));
    EXPECT_EQ(visited[cap0], page2->slot(0));
    EXPECT_EQ(visited[cap0 + page2->capacity - 1], pool->header(sixteen));
    EXPECT_EQ(visited.back(), pool->header(full.front()));

    memBlockWalkS skipping(*pool);
    skipping.next();
    skipping.skipPage();
    ASSERT_TRUE(skipping.next());
    EXPECT_EQ(skipping.block(), page2->slot(0));
    EXPECT_EQ(skipping.id, 2);

    for (void* p : full) pool->free(p);
    pool->free(sixteen);
    pool->free(zero);
}

}  // namespace
