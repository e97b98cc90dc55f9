// The inspection of one address: the block holding it, the blocks that
// store it, and the blocks reachable from it through stored addresses.
#include "runtime/diag/memBlockCheck.h"
#include "runtime/diag/memBlockIndexC.h"
#include "runtime/diag/memReportTextC.h"
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/diag/memTypeNamerC.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

#include <vector>

namespace {

// The block under inspection: a live pool block, or a block outside the
// pools whose data was copied (it may lie anywhere).
struct inspectedBlockS {
    int index = -1;  // in the block index, -1 outside the pools
    const unsigned char* user = nullptr;
    uint64_t size = 0;
    std::vector<unsigned char> outsideData;

    const unsigned char* data() const { return index >= 0 ? user : outsideData.data(); }
};

// A block outside the pools, taken on trust once its header passed the
// check. Only a live runtime heap block has data worth following; a
// released or never used header has no size (its field is a link) and is
// shown with size 0.
bool readOutsideBlock(const memPoolAllocatorC& allocator, const void* address,
                      inspectedBlockS& block) {
    memBlockHeadS* head = allocator.header(address);
    if (!memBlockValid(allocator, head, memProbeC()))
        return false;
    memBlockHeadS copy;
    platform::readMemory(head, &copy, sizeof copy);
    block.user = static_cast<const unsigned char*>(address);
    if (copy.owner != kMemOwnerHeap)
        return true;
    uint64_t size = copy.size;
    if (copy.size == kMemSizeExtended) {
        memHeapExtS ext;
        if (platform::readMemory(reinterpret_cast<const memHeapExtS*>(head) - 1, &ext,
                                 sizeof ext) != sizeof ext)
            return false;
        size = ext.size;
    }
    block.outsideData.resize(static_cast<size_t>(size));
    if (platform::readMemory(address, block.outsideData.data(), block.outsideData.size()) != size)
        return false;
    block.size = size;
    return true;
}

}  // namespace

std::string memTrackReportsC::inspectText(const void* address) {
    // For the whole report, not only while collecting all children: every
    // part of it walks the pools, and a block taken from them for the text
    // could empty and free a page under the walk.
    memPoolReportScopeC scope(*allocator_);
    memTypeNamerC namer((allocator_->trackFlags() & kMemTrackTypeInfo) != 0);
    memReportTextC text;
    memReportTextC title;
    title.append("Inspect Addr ").appendPointer(address);
    text.append(header(title.text()).c_str()).append("Object:\n");

    const memBlockIndexC index(*allocator_);
    const std::vector<memLiveBlockS>& blocks = index.blocks();
    const auto target = reinterpret_cast<uintptr_t>(address);
    inspectedBlockS block;
    block.index = index.containing(target);
    if (block.index >= 0) {
        block.user = blocks[block.index].user;
        block.size = blocks[block.index].size;
    } else {
        text.append("Not in Mgr found!\n");
        if (!readOutsideBlock(*allocator_, address, block))
            return text.append("can not eval!\n").text();
    }
    text.blockLine(0, -1, static_cast<int64_t>(block.size), 1, namer.name(block.data(), block.size),
                   block.user, 0);

    text.append("Parents:\n");
    for (const memLiveBlockS& parent : blocks) {
        for (size_t w = 0; w < memWordCount(parent.size); ++w) {
            if (memWordAt(parent.user, w) != target)
                continue;
            text.blockLine(parent.id, -1, parent.size, 1, namer.name(parent.user, parent.size),
                           parent.user, w * sizeof(uintptr_t));
            break;
        }
    }

    text.append("direct Childs:\n");
    int64_t bytes = 0;
    for (size_t w = 0; w < memWordCount(block.size); ++w) {
        const int child = index.containing(memWordAt(block.data(), w));
        if (child < 0 || child == block.index)
            continue;
        const memLiveBlockS& found = blocks[child];
        text.blockLine(0, -1, found.size, 1, namer.name(found.user, found.size), found.user, 0);
        bytes += found.size;
    }
    text.format("Bytes : %lld\n", static_cast<long long>(bytes));

    // Depth first; the inspected block itself counts only when a chain of
    // stored addresses leads back to it.
    text.append("all Childs:\n");
    std::vector<bool> reached(blocks.size(), false);
    std::vector<int> pending;
    auto follow = [&](const unsigned char* data, uint64_t size) {
        for (size_t w = 0; w < memWordCount(size); ++w) {
            const int child = index.containing(memWordAt(data, w));
            if (child >= 0 && !reached[child])
                pending.push_back(child);
        }
    };
    follow(block.data(), block.size);
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        if (reached[next])
            continue;
        reached[next] = true;
        follow(blocks[next].user, blocks[next].size);
    }
    current_.clear();
    bytes = 0;
    for (int i : index.byAddress()) {
        if (!reached[i])
            continue;
        current_.add(blocks[i].head, static_cast<int>(blocks[i].size),
                     namer.name(blocks[i].user, blocks[i].size));
        bytes += blocks[i].size;
    }
    writeGroupLines(text, current_, 0);
    text.format("Bytes : %lld\n", static_cast<long long>(bytes));
    return text.text();
}

void memTrackReportsC::inspect(const void* address) {
    memPoolReportScopeC scope(*allocator_);
    write(inspectText(address));
}
