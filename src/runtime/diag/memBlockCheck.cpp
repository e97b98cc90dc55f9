#include "runtime/diag/memBlockCheck.h"

#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

#include <cstring>

bool memProbeC::read(const void* address, void* out, size_t n) const {
    const auto* from = static_cast<const unsigned char*>(address);
    if (copy_ != nullptr && from >= original_ && static_cast<size_t>(from - original_) <= size_ &&
        n <= size_ - static_cast<size_t>(from - original_)) {
        std::memcpy(out, copy_ + (from - original_), n);
        return true;
    }
    return platform::readMemory(address, out, n) == n;
}

bool memPageValid(const memPageS* page, const memPageS& control) {
    if (control.magic != kMemPageMagic)
        return false;
    if (control.freeHead == nullptr)
        return true;
    const auto distance =
        reinterpret_cast<uintptr_t>(control.freeHead) - reinterpret_cast<uintptr_t>(page);
    // A free head in front of the page wraps round to a huge distance.
    return distance < static_cast<uintptr_t>(kMemFarLink);
}

bool memBlockValid(const memPoolAllocatorC& allocator, const memBlockHeadS* head,
                   const memProbeC& probe) {
    memBlockHeadS copy;
    if (!probe.read(head, &copy, sizeof copy))
        return false;
    if (copy.owner == kMemOwnerUnused || copy.owner == kMemOwnerHeap)
        return true;
    if (copy.owner == kMemOwnerReleased)
        return copy.link > -kMemFarLink && copy.link < kMemFarLink;
    if (copy.owner < 0)
        return false;
    // Owned by a page: the owner is the distance to the page's control
    // record, which starts with the magic and holds the element size.
    const unsigned char* control = reinterpret_cast<const unsigned char*>(head) + copy.owner;
    uint32_t magic = 0;
    uint32_t elementSize = 0;
    if (!probe.read(control, &magic, sizeof magic) || magic != kMemPageMagic ||
        !probe.read(control + (offsetof(memPageS, elementSize) - offsetof(memPageS, magic)),
                    &elementSize, sizeof elementSize))
        return false;
    if (copy.size > elementSize)
        return false;
    if (copy.size == elementSize)
        return true;
    unsigned char guard = 0;
    const auto* user =
        static_cast<const unsigned char*>(allocator.userPointer(const_cast<memBlockHeadS*>(head)));
    return probe.read(user + copy.size, &guard, 1) && guard == kMemGuardByte;
}
