// The pooled allocator behind every allocation of the module.
//
// Blocks of up to 2040 bytes are carved from fixed-size pages, one list of
// pages per 8-byte size class; larger blocks come from the runtime heap with
// the same header. All state is plain data with a zero start: the one module
// instance is constant-initialised and never destroyed, so objects built
// before it during static initialisation, or released after its shutdown,
// still reach it. No operation takes a lock: the module runs on its host's
// calling thread.
//
// When a memory checker watches the process (memCheckers.h), the pools hide
// everything but the data of live blocks from the program, and every
// allocation and release takes the out-of-line path that tells the checker
// and uncovers the allocator's own bookkeeping while it works on it. Code
// that reads headers and pages on purpose (the reports, the tests) does so
// inside a memPoolInspectScopeC.
#pragma once

#include "runtime/memory/memBlock.h"

#include <cstddef>
#include <cstdint>

class memPoolAllocatorC {
public:
    constexpr memPoolAllocatorC() = default;
    memPoolAllocatorC(const memPoolAllocatorC&) = delete;
    memPoolAllocatorC& operator=(const memPoolAllocatorC&) = delete;

    // The module's allocator.
    static memPoolAllocatorC& instance() { return instance_; }

    // A new block of n bytes, 8-aligned; null only when the runtime heap
    // cannot provide it.
    void* alloc(size_t n);
    // A runtime heap block of n bytes at the given alignment (a power of
    // two), with a header like every other block so that any release path
    // accepts it.
    void* allocAligned(size_t n, size_t alignment);
    // Releases a block of this allocator; null is ignored.
    void free(void* p);
    // A new block of n bytes holding the first min(n, old size) bytes of p,
    // which is released; a null p behaves as alloc(n). Returns null (and
    // keeps p) when the runtime heap cannot provide the new block.
    void* realloc(void* p, size_t n);

    // Reads the tracking settings from the environment and asks whether a
    // memory checker watches, once: nothing happens when the header size is
    // already set.
    void initialise();
    // Module unload: frees the pages of the class lists when no block is
    // live, then writes the leak report when asked. Blocks released later
    // free their page as soon as it becomes empty.
    void shutdown();

    // ---- header access ---------------------------------------------------------
    memBlockHeadS* header(const void* user) const {
        return reinterpret_cast<memBlockHeadS*>(const_cast<unsigned char*>(
            static_cast<const unsigned char*>(user) - headerSize_));
    }
    void* userPointer(memBlockHeadS* head) const {
        return reinterpret_cast<unsigned char*>(head) + headerSize_;
    }
    // The requested byte count of a live block.
    static size_t blockSize(const memBlockHeadS* head);

    // ---- counters and settings ----------------------------------------------------
    int32_t liveBlocks() const { return liveBlocks_; }
    uint32_t pageCount() const { return pageCount_; }
    uint32_t peakPageCount() const { return peakPageCount_; }
    // Requested bytes of the live runtime heap blocks, and their peak.
    uint64_t osBytes() const { return osBytes_; }
    uint64_t peakOsBytes() const { return peakOsBytes_; }
    // Pool bytes at peak: peak page count x 10000.
    uint64_t peakPoolBytes() const { return uint64_t{peakPageCount_} * kMemPageSlotBytes; }
    uint64_t peakBytes() const { return peakPoolBytes() + peakOsBytes_; }
    uint32_t headerSize() const { return headerSize_; }
    uint32_t trackFlags() const { return trackFlags_; }
    // Report destination; empty when reports go to the output function.
    const char* outputPath() const { return outputPath_; }
    bool shuttingDown() const { return shuttingDown_ != 0; }
    // While set, every block is taken from the runtime heap. Reports set it
    // so that they never change the pools they walk; U3DPDF_POOL_BYPASS sets
    // it at initialisation, for a tool that sees runtime heap blocks only.
    uint32_t poolBypass() const { return poolBypass_; }
    void setPoolBypass(uint32_t on) { poolBypass_ = on; }
    // A memory checker watches the pools (memCheckers.h).
    bool watched() const { return watched_ != 0; }

    // ---- inspection ---------------------------------------------------------------------
    // Between these two calls (nested pairs count once) the allocator's
    // bookkeeping in the pools may be read and written, also where a memory
    // checker watches: opening uncovers the control records, the headers,
    // the bytes behind each block's data and the free slots of every page;
    // the last closing hides them again as the pages are then. Use
    // memPoolInspectScopeC.
    void openPools();
    void closePools();

    // ---- page lists (walked by memBlockWalkS) -----------------------------------------
    memPageS* classList(int k) const { return classLists_[k]; }
    memPageS* fullList() const { return fullList_; }

private:
    static memPoolAllocatorC instance_;

    // Fast paths (inline below) and what they hand over to.
    void* takeSlot(memPageS* page, uint32_t n, uint32_t k);
    bool putSlot(memBlockHeadS* head, memPageS* page);
    void* allocSlow(size_t n);
    void freeSlow(memBlockHeadS* head);
    void* allocFromHeap(size_t n);
    void* allocExtended(size_t n, size_t alignment);
    memPageS* newPage(uint32_t elementSize);
    void parkFull(memPageS* page, uint32_t k);
    void unparkFull(memPageS* page);
    bool pageEmptied(memPageS* page);
    void freeToHeap(memBlockHeadS* head);
    void reportDoubleRelease(void* user);
    void captureLocation(memBlockHeadS* head) const;
    static bool ownerInPageRange(int32_t owner);
    bool ownerIsPage(const memBlockHeadS* head) const;
    void addOsBytes(uint64_t n);
    static void unlink(memPageS*& list, memPageS* page);
    static void pushFront(memPageS*& list, memPageS* page);

    // The paths a memory checker watches (memPoolWatched.cpp).
    void* takeSlotWatched(memPageS* page, uint32_t n, uint32_t k);
    void putSlotWatched(memBlockHeadS* head, memPageS* page);
    memBlockHeadS readHeader(const memBlockHeadS* head) const;
    bool ownerIsPageWatched(const memBlockHeadS* head, int32_t owner) const;
    struct listNeighboursS;
    listNeighboursS showListNeighbours(const memPageS* page) const;
    void hideListNeighbours(const listNeighboursS& neighbours, const memPageS* page) const;
    void showControl(const memPageS* page) const;
    void hideControl(const memPageS* page) const;
    void hide(const void* p, size_t n) const;
    void markPages(bool show) const;
    void markPage(memPageS* page, bool show) const;

    // Every member starts at zero: that is the valid state before the first
    // initialisation.
    memPageS* classLists_[kMemClassCount] = {};
    memPageS* fullList_ = nullptr;
    // What the fast paths test and count, in one cache line.
    uint32_t headerSize_ = 0;
    uint32_t poolBypass_ = 0;
    uint32_t watched_ = 0;
    int32_t liveBlocks_ = 0;
    uint32_t pageCount_ = 0;
    uint32_t peakPageCount_ = 0;
    uint64_t osBytes_ = 0;
    uint64_t peakOsBytes_ = 0;
    uint32_t trackFlags_ = 0;
    uint32_t openCount_ = 0;  // open inspections (openPools)
    char outputPath_[128] = {};
    unsigned char shuttingDown_ = 0;
};

// ---- fast paths ------------------------------------------------------------------
// Inline: every allocation and release of the module passes here, and the
// common case is a handful of loads and stores on the page at hand.

inline void* memPoolAllocatorC::alloc(size_t n) {
    if (n <= kMemLargestPooled && poolBypass_ == 0 && headerSize_ != 0 && watched_ == 0) {
        const uint32_t size = static_cast<uint32_t>(n);
        const uint32_t k = (size + 7) / 8;
        if (memPageS* page = classLists_[k]) return takeSlot(page, size, k);
    }
    return allocSlow(n);
}

inline void* memPoolAllocatorC::takeSlot(memPageS* page, uint32_t n, uint32_t k) {
    memBlockHeadS* head = page->freeHead;
    page->freeHead = head->nextFree();
    head->owner = page->ownerOffset(head);
    head->size = n;
    unsigned char* user = reinterpret_cast<unsigned char*>(head) + headerSize_;
    if (n != page->elementSize) user[n] = kMemGuardByte;
    if ((trackFlags_ & kMemTrackLocation) != 0) captureLocation(head);
    // The head of a class list always has a free slot: a page that has none
    // is parked on the full list until one of its blocks comes back.
    if (++page->used >= page->capacity) parkFull(page, k);
    ++liveBlocks_;
    return user;
}

inline bool memPoolAllocatorC::ownerInPageRange(int32_t owner) {
    // Slots start at multiples of 8 and the control record follows the
    // 10000 bytes of slots; released and never used slots are 0 or less.
    return owner > 0 && owner <= static_cast<int32_t>(kMemPageSlotBytes) && (owner & 7) == 0;
}

inline bool memPoolAllocatorC::ownerIsPage(const memBlockHeadS* head) const {
    return ownerInPageRange(head->owner) && head->page()->magic == kMemPageMagic;
}

inline void memPoolAllocatorC::free(void* p) {
    if (p == nullptr) return;
    memBlockHeadS* head = header(p);
    if (watched_ == 0 && ownerIsPage(head))
        putSlot(head, head->page());
    else
        freeSlow(head);
}

// False when the page became empty and was freed.
inline bool memPoolAllocatorC::putSlot(memBlockHeadS* head, memPageS* page) {
    --liveBlocks_;
    head->owner = kMemOwnerReleased;
    memBlockHeadS* const next = page->freeHead;
    head->link = next != nullptr ? static_cast<int32_t>(reinterpret_cast<unsigned char*>(next) -
                                                        reinterpret_cast<unsigned char*>(head))
                                 : 0;
    page->freeHead = head;
    if (page->used == page->capacity) unparkFull(page);
    return --page->used != 0 || pageEmptied(page);
}

// Keeps the allocator's bookkeeping open to reading and writing for the
// lifetime of a scope, also where a memory checker watches the pools: what
// a test does that looks at headers and pages.
class memPoolInspectScopeC {
public:
    explicit memPoolInspectScopeC(memPoolAllocatorC& allocator) : allocator_(allocator) {
        allocator_.openPools();
    }
    ~memPoolInspectScopeC() { allocator_.closePools(); }
    memPoolInspectScopeC(const memPoolInspectScopeC&) = delete;
    memPoolInspectScopeC& operator=(const memPoolInspectScopeC&) = delete;

private:
    memPoolAllocatorC& allocator_;
};

// What a report does for its run: it sends every allocation of the
// allocator to the runtime heap, so that its own allocations never change
// the pools it walks, and opens the pools for inspection. The previous
// bypass setting comes back at the end of the scope.
class memPoolReportScopeC {
public:
    explicit memPoolReportScopeC(memPoolAllocatorC& allocator)
        : allocator_(allocator), previous_(allocator.poolBypass()), inspect_(allocator) {
        allocator_.setPoolBypass(1);
    }
    ~memPoolReportScopeC() { allocator_.setPoolBypass(previous_); }
    memPoolReportScopeC(const memPoolReportScopeC&) = delete;
    memPoolReportScopeC& operator=(const memPoolReportScopeC&) = delete;

private:
    memPoolAllocatorC& allocator_;
    uint32_t previous_;
    memPoolInspectScopeC inspect_;
};
