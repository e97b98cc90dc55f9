#include "runtime/memory/memPoolAllocatorC.h"

#include "runtime/memory/memCheckers.h"
#include "runtime/memory/memReport.h"
#include "runtime/memory/memTrackSettings.h"
#include "runtime/platform/platform.h"

#include <cstdlib>
#include <cstring>

// Constant-initialised: valid before any constructor of the module runs, and
// never destroyed, so it serves static objects built before or released after
// it in any order.
constinit memPoolAllocatorC memPoolAllocatorC::instance_;

namespace {

uint32_t roundUp8(uint32_t n) { return (n + 7) & ~7u; }

int32_t distance(const void* from, const void* to) {
    return static_cast<int32_t>(static_cast<const unsigned char*>(to) -
                                static_cast<const unsigned char*>(from));
}

}  // namespace

void memPoolAllocatorC::initialise() {
    if (headerSize_ != 0) return;
    memTrackSettingsS settings = memReadTrackSettings();
    trackFlags_ = settings.flags;
    std::memcpy(outputPath_, settings.outputPath, sizeof(outputPath_));
    poolBypass_ = settings.poolBypass ? 1 : 0;
    watched_ = memCheckerWatching() ? 1 : 0;
    headerSize_ = (trackFlags_ & kMemTrackLocation) ? kMemTrackedHeaderSize : kMemHeaderSize;
}

void* memPoolAllocatorC::allocSlow(size_t n) {
    if (headerSize_ == 0) initialise();
    if (n > kMemLargestPooled || poolBypass_ != 0) return allocFromHeap(n);
    const uint32_t size = static_cast<uint32_t>(n);
    const uint32_t k = roundUp8(size) / 8;
    memPageS* page = classLists_[k];
    if (page == nullptr) {
        page = newPage(k * 8);
        if (page == nullptr) return nullptr;
        classLists_[k] = page;
    }
    return watched_ != 0 ? takeSlotWatched(page, size, k) : takeSlot(page, size, k);
}

void* memPoolAllocatorC::allocAligned(size_t n, size_t alignment) {
    if (headerSize_ == 0) initialise();
    return allocExtended(n, alignment);
}

void* memPoolAllocatorC::allocFromHeap(size_t n) {
    // The header's size field is 32 bits wide: larger blocks keep their size
    // in the extension record instead of wrapping it.
    if (n >= kMemSizeExtended) return allocExtended(n, 8);
    auto* head = static_cast<memBlockHeadS*>(std::malloc(n + headerSize_));
    if (head == nullptr) return nullptr;
    head->owner = kMemOwnerHeap;
    head->size = static_cast<uint32_t>(n);
    captureLocation(head);
    addOsBytes(n);
    ++liveBlocks_;
    return userPointer(head);
}

void* memPoolAllocatorC::allocExtended(size_t n, size_t alignment) {
    if (alignment < 8) alignment = 8;
    const size_t prefix = sizeof(memHeapExtS) + headerSize_;
    if (n > SIZE_MAX - prefix - alignment) return nullptr;
    auto* base = static_cast<unsigned char*>(std::malloc(prefix + alignment - 1 + n));
    if (base == nullptr) return nullptr;
    uintptr_t user = (reinterpret_cast<uintptr_t>(base) + prefix + alignment - 1) & ~(alignment - 1);
    auto* head = header(reinterpret_cast<void*>(user));
    auto* ext = reinterpret_cast<memHeapExtS*>(head) - 1;
    ext->size = n;
    ext->baseOffset = static_cast<uint64_t>(reinterpret_cast<unsigned char*>(head) - base);
    head->owner = kMemOwnerHeap;
    head->size = kMemSizeExtended;
    captureLocation(head);
    addOsBytes(n);
    ++liveBlocks_;
    return reinterpret_cast<void*>(user);
}

void memPoolAllocatorC::parkFull(memPageS* page, uint32_t k) {
    unlink(classLists_[k], page);
    pushFront(fullList_, page);
}

memPageS* memPoolAllocatorC::newPage(uint32_t elementSize) {
    auto* page = static_cast<memPageS*>(std::malloc(sizeof(memPageS)));
    if (page == nullptr) return nullptr;
    page->slotSize = roundUp8(elementSize + headerSize_);
    page->capacity = kMemPageSlotBytes / page->slotSize;
    page->next = nullptr;
    page->prev = nullptr;
    // Each slot links to the one before it, so blocks are handed out from
    // the highest address downwards.
    memBlockHeadS* previous = nullptr;
    for (uint32_t i = 0; i < page->capacity; ++i) {
        memBlockHeadS* slot = page->slot(i);
        slot->owner = kMemOwnerUnused;
        slot->link = previous != nullptr ? distance(slot, previous) : 0;
        previous = slot;
    }
    page->freeHead = previous;
    page->elementSize = elementSize;
    page->used = 0;
    page->magic = kMemPageMagic;
    if (++pageCount_ > peakPageCount_) peakPageCount_ = pageCount_;
    if (watched_ != 0) {
        memCheckerPageMade(page);
        hide(page, sizeof(memPageS));
    }
    return page;
}

void memPoolAllocatorC::freeSlow(memBlockHeadS* head) {
    // Watched, every release comes here: the header is read before the
    // pointer is known to be a block of this allocator.
    const int32_t owner = readHeader(head).owner;
    if (watched_ != 0 && ownerIsPageWatched(head, owner)) {
        putSlotWatched(head, memPageAt(head, owner));
        return;
    }
    if (owner == kMemOwnerHeap) {
        --liveBlocks_;
        head->owner = kMemOwnerReleased;
        freeToHeap(head);
        return;
    }
    // Released before or never handed out (or no block of this allocator at
    // all): the block, its page and the counters stay as they are.
    reportDoubleRelease(userPointer(head));
}

void memPoolAllocatorC::unparkFull(memPageS* page) {
    unlink(fullList_, page);
    pushFront(classLists_[page->elementSize / 8], page);
}

bool memPoolAllocatorC::pageEmptied(memPageS* page) {
    // One empty page per class stays for reuse, so that a class used at its
    // boundary does not set a page up and free it again and again.
    if (page->next == nullptr && page->prev == nullptr && shuttingDown_ == 0) return true;
    unlink(classLists_[page->elementSize / 8], page);
    std::free(page);
    --pageCount_;
    return false;
}

void memPoolAllocatorC::freeToHeap(memBlockHeadS* head) {
    size_t n = blockSize(head);
    osBytes_ -= n;
    unsigned char* base = reinterpret_cast<unsigned char*>(head);
    if (head->size == kMemSizeExtended) base -= (reinterpret_cast<memHeapExtS*>(head) - 1)->baseOffset;
    std::free(base);
}

void* memPoolAllocatorC::realloc(void* p, size_t n) {
    if (p == nullptr) return alloc(n);
    memBlockHeadS* head = header(p);
    const memBlockHeadS copy = readHeader(head);
    const bool pooled = watched_ != 0 ? ownerIsPageWatched(head, copy.owner) : ownerIsPage(head);
    // Copying from a released block would copy its free-list link as size.
    if (copy.owner != kMemOwnerHeap && !pooled) {
        reportDoubleRelease(p);
        return nullptr;
    }
    const size_t old = pooled ? copy.size : blockSize(head);
    void* q = alloc(n);
    if (q == nullptr) return nullptr;
    std::memcpy(q, p, old < n ? old : n);
    free(p);
    return q;
}

size_t memPoolAllocatorC::blockSize(const memBlockHeadS* head) {
    if (head->size == kMemSizeExtended) return (reinterpret_cast<const memHeapExtS*>(head) - 1)->size;
    return head->size;
}

void memPoolAllocatorC::shutdown() {
    shuttingDown_ = 1;
    // Pages can only go when no block lives in them any more; the page count
    // keeps its value for the reports that follow. Empty pages go even while
    // other blocks live (objects released after this point, such as the code
    // tracking log's buffers): the page kept for reuse in each class would
    // otherwise never be returned, and a host that unloads the module would
    // lose it. Pages that empty later are freed by release().
    // Watched, the pages lie open while their lists are walked and changed.
    memPoolInspectScopeC open(*this);
    for (memPageS*& list : classLists_) {
        memPageS* page = list;
        while (page != nullptr) {
            memPageS* const next = page->next;
            if (liveBlocks_ == 0 || page->used == 0) {
                unlink(list, page);
                std::free(page);
            }
            page = next;
        }
    }
    if ((trackFlags_ & kMemTrackLeak) != 0) {
        if (memAllocatorReportFn report = memLeakReport()) report(*this);
    }
}

void memPoolAllocatorC::reportDoubleRelease(void* user) {
    if (memAllocatorReportFn report = memDoubleReleaseReport())
        report(*this);
    else
        memReportWrite(*this, kMemDoubleReleaseText);
    // Memcheck names the release too, with the block's history where it
    // knows it: a block it does not know as live is an invalid release.
    if (watched_ != 0) memCheckerBlockReleased(user);
}

// Like every stack of the runtime the location stays empty without the
// symboliser: stacks are printed with names or not at all. The capture
// starts with the allocator's own frames, which the reports leave out.
static_assert(kMemLocationEntries == platform::kStackDepth);

void memPoolAllocatorC::captureLocation(memBlockHeadS* head) const {
    if ((trackFlags_ & kMemTrackLocation) == 0) return;
    uint64_t* location = head->location();
    if (platform::symbolizerReady())
        platform::captureStack(location, kMemLocationEntries, 0);
    else
        location[0] = 0;
}

void memPoolAllocatorC::addOsBytes(uint64_t n) {
    osBytes_ += n;
    if (osBytes_ > peakOsBytes_) peakOsBytes_ = osBytes_;
}

void memPoolAllocatorC::unlink(memPageS*& list, memPageS* page) {
    // Neighbours read once up front: the stores below could alias them.
    memPageS* const prev = page->prev;
    memPageS* const next = page->next;
    if (prev != nullptr)
        prev->next = next;
    else
        list = next;
    if (next != nullptr) next->prev = prev;
}

void memPoolAllocatorC::pushFront(memPageS*& list, memPageS* page) {
    memPageS* const head = list;
    page->prev = nullptr;
    page->next = head;
    if (head != nullptr) head->prev = page;
    list = page;
}
