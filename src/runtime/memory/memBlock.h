// Layout of the pooled allocator's blocks and pages.
//
// Every block, pooled or taken from the runtime heap, starts with an 8-byte
// header; the memory reports walk these headers, so their layout is fixed.
// Addresses are 64-bit, so the header cannot hold pointers: the owner and the
// free-slot link are 32-bit distances within the page instead.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes of slots in a page; the control record follows them.
constexpr uint32_t kMemPageSlotBytes = 10000;
constexpr uint32_t kMemPageMagic = 0x11223344;
// Class k serves requests whose size rounded up to 8 is 8k.
constexpr int kMemClassCount = 256;
constexpr uint32_t kMemLargestPooled = 8 * (kMemClassCount - 1);  // 2040

constexpr uint32_t kMemHeaderSize = 8;
constexpr int kMemLocationEntries = 16;
// Header with the allocating call stack: 8 + 16 entries of one address each.
constexpr uint32_t kMemTrackedHeaderSize = kMemHeaderSize + kMemLocationEntries * 8;

constexpr unsigned char kMemGuardByte = 0xDF;

// Tracking flags, read from the environment at initialisation.
constexpr uint32_t kMemTrackTypeInfo = 1;
constexpr uint32_t kMemTrackLeak = 2;
constexpr uint32_t kMemTrackLocation = 4;

// Owner values that are not a page.
constexpr int32_t kMemOwnerHeap = -2;      // taken from the runtime heap
constexpr int32_t kMemOwnerReleased = -1;  // released
constexpr int32_t kMemOwnerUnused = 0;     // pool slot never handed out

// A runtime heap block whose size does not fit the 32-bit size field, or
// that had to be placed at a stricter alignment than 8, carries this size
// value; its real size and the start of its runtime heap allocation are in
// the memHeapExtS record right in front of the header.
constexpr uint32_t kMemSizeExtended = 0xFFFFFFFFu;

struct memPageS;

struct memBlockHeadS {
    // Pooled block: distance in bytes from this header forward to the control
    // record of its page (always positive); otherwise one of kMemOwner*.
    int32_t owner;
    union {
        // Live block: the requested byte count (kMemSizeExtended for large
        // or over-aligned runtime heap blocks).
        uint32_t size;
        // Free pool slot: distance in bytes from this slot to the next free
        // slot of the page, 0 at the end of the free list.
        int32_t link;
    };

    bool inPage() const { return owner > 0; }
    bool live() const { return owner != kMemOwnerReleased && owner != kMemOwnerUnused; }
    memPageS* page() const;
    // The allocating call stack; only present with the 136-byte header.
    uint64_t* location() { return reinterpret_cast<uint64_t*>(this + 1); }
    const uint64_t* location() const { return reinterpret_cast<const uint64_t*>(this + 1); }
    // The next free slot of the page, null at the end of the free list.
    memBlockHeadS* nextFree() const;
};
static_assert(sizeof(memBlockHeadS) == kMemHeaderSize);

struct memHeapExtS {
    uint64_t size;        // requested byte count
    uint64_t baseOffset;  // bytes from the runtime heap allocation to the header
};

// One page: one runtime heap allocation holding kMemPageSlotBytes bytes of
// slots followed by the control record. Slot i starts at slots + i * slotSize;
// the bytes after the last whole slot are left over.
struct memPageS {
    unsigned char slots[kMemPageSlotBytes];
    uint32_t magic;
    memPageS* next;  // neighbours in the page's list (class list or full list)
    memPageS* prev;
    memBlockHeadS* freeHead;  // first free slot, null when the page is full
    uint32_t slotSize;        // element size + header size, rounded up to 8
    uint32_t elementSize;     // 8k for class k
    uint32_t used;            // slots handed out
    uint32_t capacity;        // kMemPageSlotBytes / slotSize

    memBlockHeadS* slot(uint32_t i) {
        return reinterpret_cast<memBlockHeadS*>(slots + static_cast<size_t>(i) * slotSize);
    }
    // Distance from a slot's header forward to this control record.
    int32_t ownerOffset(const memBlockHeadS* head) const {
        return static_cast<int32_t>(reinterpret_cast<const unsigned char*>(&magic) -
                                    reinterpret_cast<const unsigned char*>(head));
    }
};

// The control record and what follows it in the page.
constexpr size_t kMemControlBytes = sizeof(memPageS) - offsetof(memPageS, magic);

// The page whose control record lies owner bytes after the header at head.
inline memPageS* memPageAt(const memBlockHeadS* head, int32_t owner) {
    const unsigned char* control = reinterpret_cast<const unsigned char*>(head) + owner;
    return reinterpret_cast<memPageS*>(const_cast<unsigned char*>(control) - offsetof(memPageS, magic));
}

inline memPageS* memBlockHeadS::page() const { return memPageAt(this, owner); }

inline memBlockHeadS* memBlockHeadS::nextFree() const {
    if (link == 0) return nullptr;
    const unsigned char* next = reinterpret_cast<const unsigned char*>(this) + link;
    return reinterpret_cast<memBlockHeadS*>(const_cast<unsigned char*>(next));
}
