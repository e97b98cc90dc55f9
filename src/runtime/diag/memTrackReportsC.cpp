#include "runtime/diag/memTrackReportsC.h"

#include "runtime/diag/frameLines.h"
#include "runtime/diag/memBlockIndexC.h"
#include "runtime/diag/memReportTextC.h"
#include "runtime/diag/memTypeNamerC.h"
#include "runtime/diag/moduleName.h"
#include "runtime/diag/stackWalk.h"
#include "runtime/memory/memBlockWalkS.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/memory/memReport.h"
#include "runtime/platform/platform.h"
#include "runtime/str/str.h"

#include <memory>
#include <vector>

namespace {

void leakReportAtShutdown(memPoolAllocatorC& allocator) {
    memTrackReportsC& reports = memTrackReportsC::module();
    if (&allocator == &reports.allocator()) {
        reports.leakReport();
        return;
    }
    // Another allocator than the module's (a private one of a test): its own
    // tables, which are too large for the stack.
    std::make_unique<memTrackReportsC>(allocator)->leakReport();
}

// The stack starts at the caller of this function, as captureStack starts
// at its own caller; the allocator's frames on top of it are left out of the
// listing (frameLines.h), so the first line shown is the code that released
// the block.
__attribute__((noinline)) void doubleReleaseReport(memPoolAllocatorC& allocator) {
    // The report must not change the pools whose misuse it describes.
    memPoolReportScopeC scope(allocator);
    uint64_t stack[kCapturedStackEntries];
    walkStack(reinterpret_cast<uintptr_t>(__builtin_return_address(0)),
              reinterpret_cast<uintptr_t>(__builtin_frame_address(0)), stack);
    str text(kMemDoubleReleaseText);
    writeFrameLines(stack, text);
    memReportWrite(allocator, text.text());
}

}  // namespace

// Never destroyed (it has nothing to release), so the leak report can run
// at any point of the module's unload.
memTrackReportsC& memTrackReportsC::module() {
    static memTrackReportsC reports(memPoolAllocatorC::instance());
    return reports;
}

void memTrackReportsStartup() {
    memTrackReportsC::module().reset();
    memSetLeakReport(leakReportAtShutdown);
    memSetDoubleReleaseReport(doubleReleaseReport);
}

std::string memTrackReportsC::header(const char* title) const {
    memReportTextC text;
    text.format("QVMEMTRACK %s (Pid=%d,%s)\n", title, static_cast<int>(platform::processId()),
                diagModuleName());
    return text.text();
}

void memTrackReportsC::write(const std::string& text) const {
    memReportWrite(*allocator_, text.c_str());
}

int64_t memTrackReportsC::groupLiveBlocks(memGroupTableS& table, memTypeNamerC& namer) const {
    table.clear();
    int64_t bytes = 0;
    memBlockWalkS walk(*allocator_);
    while (walk.next()) {
        memBlockHeadS* head = walk.block();
        if (!head->live())
            continue;
        bytes += head->size;
        table.add(head, static_cast<int>(head->size), namer.name(walk.user(), head->size));
    }
    return bytes;
}

void memTrackReportsC::writeGroupLines(memReportTextC& text, const memGroupTableS& table,
                                       int32_t id) const {
    for (int i = 0; i < table.count; ++i) {
        const memGroupS& group = table.groups[i];
        text.blockLine(id, -1, group.size, group.count, group.name,
                       allocator_->userPointer(group.block), 0);
    }
}

std::string memTrackReportsC::summaryText() {
    // Before the report's own allocations add to it.
    const uint64_t osBytes = allocator_->osBytes();
    memPoolReportScopeC scope(*allocator_);
    memTypeNamerC namer((allocator_->trackFlags() & kMemTrackTypeInfo) != 0);
    memReportTextC text;
    text.append(header("Summary Report").c_str());
    const int64_t bytes = groupLiveBlocks(current_, namer);
    writeGroupLines(text, current_, -1);
    text.format("Mgr Bytes : %lld\n", static_cast<long long>(bytes));
    text.format("OS  Bytes : %llu\n", static_cast<unsigned long long>(osBytes));
    return text.text();
}

// A block's parent is the first block in walk order that stores its user
// pointer. One pass over every stored word, in walk order, finds them all.
std::string memTrackReportsC::detailText() {
    memPoolReportScopeC scope(*allocator_);
    const uint32_t flags = allocator_->trackFlags();
    memTypeNamerC namer((flags & kMemTrackTypeInfo) != 0);
    memReportTextC text;
    text.append(header("Detail Memory Report").c_str());
    const memBlockIndexC index(*allocator_);
    const std::vector<memLiveBlockS>& blocks = index.blocks();
    std::vector<int32_t> parents(blocks.size(), -1);
    for (const memLiveBlockS& block : blocks) {
        for (size_t w = 0; w < memWordCount(block.size); ++w) {
            const int child = index.startingAt(memWordAt(block.user, w));
            if (child >= 0 && parents[child] < 0)
                parents[child] = block.id;
        }
    }
    frameLineCacheC frames;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const memLiveBlockS& block = blocks[i];
        text.blockLine(block.id, parents[i], block.size, 1, namer.name(block.user, block.size),
                       block.user, 0);
        if ((flags & kMemTrackLocation) != 0)
            text.appendFrames(frames, block.head->location());
    }
    return text.text();
}

void memTrackReportsC::leakReport() {
    memPoolReportScopeC scope(*allocator_);
    write(summaryText());
    if ((allocator_->trackFlags() & kMemTrackLeak) != 0)
        write(detailText());
}
