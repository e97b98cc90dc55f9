// The live pool blocks of an allocator, numbered as the block walk numbers
// them and searchable by address: what the detail and inspection reports use
// to tell which block a stored word points to. Built once per report, while
// the pools stand still (the report sends its own allocations elsewhere).
#pragma once

#include "runtime/memory/memBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class memPoolAllocatorC;

struct memLiveBlockS {
    memBlockHeadS* head;
    const unsigned char* user;
    uint32_t size;  // requested bytes
    int32_t id;     // ordinal in the block walk
};

class memBlockIndexC {
public:
    explicit memBlockIndexC(const memPoolAllocatorC& allocator);

    // In walk order.
    const std::vector<memLiveBlockS>& blocks() const { return blocks_; }
    // Position (in walk order) of the block whose data range contains the
    // address, -1 when none does.
    int containing(uintptr_t address) const;
    // Position of the block whose user pointer is the address, -1 when none.
    int startingAt(uintptr_t address) const;
    // Positions in address order.
    const std::vector<int>& byAddress() const { return byAddress_; }

private:
    // Position in byAddress_ of the last block starting at or before address.
    ptrdiff_t lastAtOrBefore(uintptr_t address) const;

    std::vector<memLiveBlockS> blocks_;
    std::vector<int> byAddress_;
};

// The pointer-sized words of a block's data, as the reports look for stored
// addresses: size / sizeof(void*) whole words from the user pointer.
inline size_t memWordCount(uint64_t size) { return static_cast<size_t>(size / sizeof(uintptr_t)); }

// Word i of a block's data.
inline uintptr_t memWordAt(const unsigned char* data, size_t i) {
    uintptr_t word;
    std::memcpy(&word, data + i * sizeof word, sizeof word);
    return word;
}
