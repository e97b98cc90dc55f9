// The snapshot and the comparison against it.
#include "runtime/diag/memReportTextC.h"
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/diag/memTypeNamerC.h"
#include "runtime/diag/moduleName.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <cstdlib>

namespace {

void changeLine(memReportTextC& text, const memGroupS& group, int before, int after) {
    text.format("Mem %6lld, Befor=%3d, After=%3d,Diff=%3d, Name %s (%d)\n",
                static_cast<long long>(std::abs(after - before)) * group.size, before, after,
                after - before, group.name, group.size);
}

}  // namespace

void memTrackReportsC::takeSnapshot() {
    memPoolReportScopeC scope(*allocator_);
    memTypeNamerC namer((allocator_->trackFlags() & kMemTrackTypeInfo) != 0);
    groupLiveBlocks(snapshot_, namer);
}

// Every comparison starts from an unmatched snapshot, so comparing twice
// against one snapshot reports the same way.
std::string memTrackReportsC::compareText() {
    memPoolReportScopeC scope(*allocator_);
    memTypeNamerC namer((allocator_->trackFlags() & kMemTrackTypeInfo) != 0);
    memReportTextC text;
    text.format("QVMEMTRACK Compare Snap (%s)\n", diagModuleName());
    groupLiveBlocks(current_, namer);
    snapshot_.clearMatched();
    for (int i = 0; i < snapshot_.count; ++i) {
        memGroupS& before = snapshot_.groups[i];
        memGroupS* after = current_.find(before.size, before.name);
        if (after == nullptr)
            continue;
        before.matched = 1;
        after->matched = 1;
        if (after->count != before.count)
            changeLine(text, before, before.count, after->count);
    }
    for (int i = 0; i < snapshot_.count; ++i)
        if (!snapshot_.groups[i].matched)
            changeLine(text, snapshot_.groups[i], snapshot_.groups[i].count, 0);
    for (int i = 0; i < current_.count; ++i)
        if (!current_.groups[i].matched)
            changeLine(text, current_.groups[i], 0, current_.groups[i].count);
    return text.text();
}

void memTrackReportsC::compareSnapshot() {
    memPoolReportScopeC scope(*allocator_);
    write(compareText());
}
