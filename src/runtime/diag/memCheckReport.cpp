// The memory check: every page of every list and every slot of each sound
// page, then the process heaps as far as the platform can walk them.
#include "runtime/diag/memBlockCheck.h"
#include "runtime/diag/memReportTextC.h"
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

#include <cstddef>
#include <memory>

namespace {

// Sound enough to walk its slots: a valid control record whose slots stay
// within the page (a corrupt count would make the walk run for ever).
bool walkable(const memPageS* page, const memPageS& copy) {
    return memPageValid(page, copy) && copy.slotSize != 0 &&
           copy.capacity <= kMemPageSlotBytes / copy.slotSize;
}

// The slots of one page, checked against a copy of it taken at once.
void checkSlots(const memPoolAllocatorC& allocator, const memPageS* page, const memPageS& copy,
                memReportTextC& text) {
    const memProbeC probe(page, &copy, sizeof copy);
    for (uint32_t i = 0; i < copy.capacity; ++i) {
        const size_t offset = static_cast<size_t>(i) * copy.slotSize;
        const auto* head = reinterpret_cast<const memBlockHeadS*>(
            reinterpret_cast<const unsigned char*>(page) + offset);
        const auto& slot = *reinterpret_cast<const memBlockHeadS*>(copy.slots + offset);
        const auto thisPage = static_cast<int32_t>(offsetof(memPageS, magic) - offset);
        const bool sound =
            memBlockValid(allocator, head, probe) && (!slot.live() || slot.owner == thisPage);
        if (!sound)
            text.append("Invalid Block ").appendPointer(head).append("\n");
    }
}

constexpr int kMaxHeapIssues = 1024;

void checkProcessHeaps(memReportTextC& text) {
    static platform::HeapIssue issues[kMaxHeapIssues];
    const int n = platform::checkProcessHeaps(issues, kMaxHeapIssues);
    for (int i = 0; i < n; ++i) {
        switch (issues[i].problem) {
            case platform::HeapProblem::Node:
                text.append("Invalid Win32 Heap Node ").appendPointer(issues[i].data).append("\n");
                break;
            case platform::HeapProblem::Block:
                text.append("Invalid Win32 Heap Block ").appendPointer(issues[i].data).append("\n");
                break;
            case platform::HeapProblem::DataPtr:
                text.append("Invalid Win32 Heap Data Ptr ")
                    .appendPointer(issues[i].data)
                    .append("\n");
                break;
            case platform::HeapProblem::Structure:
                text.append("Invalid Win32 Heap Structure\n");
                break;
        }
    }
}

}  // namespace

std::string memTrackReportsC::memoryCheckText() {
    memPoolReportScopeC scope(*allocator_);
    memReportTextC text;
    text.append(header("Memory Check").c_str());
    auto copy = std::make_unique<memPageS>();
    for (int list = 0; list <= kMemClassCount; ++list) {
        const memPageS* page =
            list < kMemClassCount ? allocator_->classList(list) : allocator_->fullList();
        // The lists hold every page once: more pages than that means a
        // list that runs in a circle.
        uint32_t left = allocator_->pageCount();
        for (; page != nullptr; page = copy->next) {
            if (left-- == 0 ||
                platform::readMemory(page, copy.get(), sizeof *copy) != sizeof *copy ||
                !walkable(page, *copy)) {
                text.append("invalid page block\n");
                break;
            }
            checkSlots(*allocator_, page, *copy, text);
        }
    }
    checkProcessHeaps(text);
    return text.text();
}

void memTrackReportsC::memoryCheck() {
    memPoolReportScopeC scope(*allocator_);
    write(memoryCheckText());
}
