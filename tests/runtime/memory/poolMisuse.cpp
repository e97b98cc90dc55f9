// Misuses pooled blocks for valgrind's memcheck to report, as it reports
// the same faults on runtime heap blocks: one byte written behind a block's
// data, a byte read after its release, a second release, and a block whose
// last pointer is lost. valgrindPoolMisuse.sh runs it and reads memcheck's
// log.
#include "poolMisuse.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <cstdio>
#include <cstring>

namespace {

__attribute__((noinline)) void leak(memPoolAllocatorC& pool) {
    void* lost = pool.alloc(40);
    std::memset(lost, 0, 40);
    asm volatile("" : : "r"(lost) : "memory");  // allocated and written all the same
}

// Leaves no copy of the lost pointer on the stack below this frame.
__attribute__((noinline)) void clearStack() {
    volatile unsigned char bytes[4096];
    for (size_t i = 0; i < sizeof bytes; ++i)
        bytes[i] = 0;
}

}  // namespace

int main() {
    memPoolAllocatorC& pool = memPoolAllocatorC::instance();
    auto* block = static_cast<unsigned char*>(pool.alloc(24));
    bool pooled = false;
    {
        memPoolInspectScopeC open(pool);
        pooled = pool.header(block)->inPage();
    }
    if (!pooled || !pool.watched()) {
        std::fputs("pool_misuse: the block is no pool block, or no checker watches\n", stderr);
        return 2;
    }
    writeByte(block + 24);
    pool.free(block);
    readByte(block);
    pool.free(block);
    leak(pool);
    clearStack();
    return 0;
}
