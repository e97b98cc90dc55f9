#include "runtime/diag/memBlockIndexC.h"

#include "runtime/memory/memBlockWalkS.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <algorithm>

memBlockIndexC::memBlockIndexC(const memPoolAllocatorC& allocator) {
    memBlockWalkS walk(allocator);
    while (walk.next()) {
        memBlockHeadS* head = walk.block();
        if (!head->live())
            continue;
        blocks_.push_back(
            {head, static_cast<const unsigned char*>(walk.user()), head->size, walk.id});
    }
    byAddress_.resize(blocks_.size());
    for (size_t i = 0; i < blocks_.size(); ++i)
        byAddress_[i] = static_cast<int>(i);
    std::sort(byAddress_.begin(), byAddress_.end(),
              [this](int a, int b) { return blocks_[a].user < blocks_[b].user; });
}

ptrdiff_t memBlockIndexC::lastAtOrBefore(uintptr_t address) const {
    auto after = std::upper_bound(byAddress_.begin(), byAddress_.end(), address,
                                  [this](uintptr_t a, int block) {
                                      return a < reinterpret_cast<uintptr_t>(blocks_[block].user);
                                  });
    return (after - byAddress_.begin()) - 1;
}

int memBlockIndexC::containing(uintptr_t address) const {
    const ptrdiff_t at = lastAtOrBefore(address);
    if (at < 0)
        return -1;
    const memLiveBlockS& block = blocks_[byAddress_[at]];
    return address - reinterpret_cast<uintptr_t>(block.user) < block.size ? byAddress_[at] : -1;
}

int memBlockIndexC::startingAt(uintptr_t address) const {
    const ptrdiff_t at = lastAtOrBefore(address);
    if (at < 0)
        return -1;
    return reinterpret_cast<uintptr_t>(blocks_[byAddress_[at]].user) == address ? byAddress_[at]
                                                                                : -1;
}
