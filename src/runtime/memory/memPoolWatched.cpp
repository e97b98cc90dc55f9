// The allocator's paths under a memory checker (memCheckers.h).
//
// Watched, the pools hide everything but the data of live blocks: each
// page's control record and the bytes behind its last slot, free slots
// whole, and of a live block its header and the bytes behind its data (the
// guard byte among them). An allocation or a release uncovers the parts it
// works on, hides them again and tells the checker about the block. While
// the pools are open for inspection nothing is hidden; the last inspection
// to close marks every page as it is then.
#include "runtime/memory/memCheckers.h"
#include "runtime/memory/memPoolAllocatorC.h"

// The other pages whose control records an allocation or a release in page
// may write: when page fills up, empties or has room again it leaves its
// list (its neighbours' links change) and joins the front of another (the
// old head's link changes), and only page itself may be freed. The page
// lists stay free of checker calls that way.
struct memPoolAllocatorC::listNeighboursS {
    const memPageS* pages[4];
};

memPoolAllocatorC::listNeighboursS memPoolAllocatorC::showListNeighbours(const memPageS* page) const {
    const listNeighboursS neighbours{
        {page->prev, page->next, classLists_[page->elementSize / 8], fullList_}};
    for (const memPageS* other : neighbours.pages)
        if (other != nullptr && other != page) showControl(other);
    return neighbours;
}

void memPoolAllocatorC::hideListNeighbours(const listNeighboursS& neighbours, const memPageS* page) const {
    for (const memPageS* other : neighbours.pages)
        if (other != nullptr && other != page) hideControl(other);
}

void* memPoolAllocatorC::takeSlotWatched(memPageS* page, uint32_t n, uint32_t k) {
    showControl(page);
    const listNeighboursS neighbours = showListNeighbours(page);
    memBlockHeadS* head = page->freeHead;
    const uint32_t slotSize = page->slotSize;
    // The header, the guard byte and the location are written below.
    memCheckerShow(head, slotSize);
    auto* user = static_cast<unsigned char*>(takeSlot(page, n, k));
    memCheckerBlockTaken(user, n);
    hide(head, headerSize_);
    hide(user + n, slotSize - headerSize_ - n);
    hideListNeighbours(neighbours, page);
    hideControl(page);
    return user;
}

void memPoolAllocatorC::putSlotWatched(memBlockHeadS* head, memPageS* page) {
    memCheckerBlockReleased(userPointer(head));
    showControl(page);
    const listNeighboursS neighbours = showListNeighbours(page);
    const uint32_t slotSize = page->slotSize;
    memCheckerShow(head, headerSize_);
    const bool kept = putSlot(head, page);
    hideListNeighbours(neighbours, page);
    // A freed page went back to the runtime heap, and with it to the
    // checker's own account.
    if (kept) {
        hide(head, slotSize);
        hideControl(page);
    }
}

memBlockHeadS memPoolAllocatorC::readHeader(const memBlockHeadS* head) const {
    memBlockHeadS copy;
    if (watched_ == 0)
        copy = *head;
    else
        memCheckerPeek(head, &copy, sizeof copy);
    return copy;
}

void memPoolAllocatorC::showControl(const memPageS* page) const { memCheckerShow(&page->magic, kMemControlBytes); }

void memPoolAllocatorC::hideControl(const memPageS* page) const { hide(&page->magic, kMemControlBytes); }

// Nothing is hidden while the pools are open: closing marks them all.
void memPoolAllocatorC::hide(const void* p, size_t n) const {
    if (openCount_ == 0) memCheckerHide(p, n);
}

bool memPoolAllocatorC::ownerIsPageWatched(const memBlockHeadS* head, int32_t owner) const {
    if (!ownerInPageRange(owner)) return false;
    uint32_t magic = 0;
    memCheckerPeek(&memPageAt(head, owner)->magic, &magic, sizeof magic);
    return magic == kMemPageMagic;
}

void memPoolAllocatorC::openPools() {
    if (openCount_++ == 0 && watched_ != 0) markPages(true);
}

void memPoolAllocatorC::closePools() {
    if (--openCount_ == 0 && watched_ != 0) markPages(false);
}

void memPoolAllocatorC::markPages(bool show) const {
    // Each page lies in one list: more pages than there are means a corrupt
    // list running in a circle.
    uint32_t left = pageCount_;
    for (int list = 0; list <= kMemClassCount; ++list) {
        memPageS* page = list < kMemClassCount ? classLists_[list] : fullList_;
        for (; page != nullptr && left > 0; --left) {
            memCheckerShow(&page->magic, kMemControlBytes);
            memPageS* const next = page->next;
            markPage(page, show);
            page = next;
        }
    }
}

void memPoolAllocatorC::markPage(memPageS* page, bool show) const {
    const auto mark = show ? memCheckerShow : memCheckerHide;
    const uint32_t slotSize = page->slotSize;
    const uint32_t capacity = page->capacity;
    // A control record that does not describe whole slots of the page (the
    // memory check reports it) leaves them as they are.
    const bool sound = page->magic == kMemPageMagic && slotSize >= headerSize_ && slotSize % 8 == 0 &&
                       capacity <= kMemPageSlotBytes / slotSize;
    if (sound) {
        for (uint32_t i = 0; i < capacity; ++i) {
            memBlockHeadS* head = page->slot(i);
            memCheckerShow(head, headerSize_);
            // A live block's data stay as they are, all of them when its
            // size does not fit the slot.
            uint32_t dataEnd = headerSize_;
            if (head->live()) dataEnd = head->size <= slotSize - headerSize_ ? dataEnd + head->size : slotSize;
            if (!show) memCheckerHide(head, headerSize_);
            mark(reinterpret_cast<unsigned char*>(head) + dataEnd, slotSize - dataEnd);
        }
        const uint32_t slotBytes = capacity * slotSize;
        mark(page->slots + slotBytes, kMemPageSlotBytes - slotBytes);
    }
    if (!show) memCheckerHide(&page->magic, kMemControlBytes);
}
