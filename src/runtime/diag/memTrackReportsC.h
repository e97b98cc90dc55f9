// The memory tracking reports of one pooled allocator: what is alive,
// grouped by size and type; which block points to which; how the population
// changed since a snapshot; whether pages and blocks are intact.
//
// Each report builds its text and writes it to the allocator's report
// destination (memReport.h): the QVMEMTRACK_OUTPUT file, else the output
// function. While a report runs, the allocator sends every allocation to the
// runtime heap, so that the report never changes the pools it walks; the
// texts are also available without writing them. Block lines and Ids are
// those of the block walk (memBlockWalkS).
#pragma once

#include "runtime/diag/memGroupTableS.h"

#include <cstdint>
#include <string>

class memPoolAllocatorC;
class memReportTextC;
class memTypeNamerC;

class memTrackReportsC {
public:
    explicit memTrackReportsC(memPoolAllocatorC& allocator) : allocator_(&allocator) {}
    memTrackReportsC(const memTrackReportsC&) = delete;
    memTrackReportsC& operator=(const memTrackReportsC&) = delete;

    // The reports of the module's allocator.
    static memTrackReportsC& module();

    memPoolAllocatorC& allocator() const { return *allocator_; }

    // ---- reports, written -----------------------------------------------------------
    // The summary, then the detail report when QVMEMTRACK_LEAK is set.
    void leakReport();
    void memoryCheck();
    void inspect(const void* address);
    // Refills the snapshot table; writes nothing.
    void takeSnapshot();
    void compareSnapshot();

    // ---- the texts ----------------------------------------------------------------------
    std::string summaryText();
    std::string detailText();
    std::string compareText();
    std::string memoryCheckText();
    std::string inspectText(const void* address);

    // Forgets the snapshot (module start-up).
    void reset() { snapshot_.clear(); }

private:
    // Files every live pool block in the table (emptied first); returns
    // the sum of their sizes.
    int64_t groupLiveBlocks(memGroupTableS& table, memTypeNamerC& namer) const;
    void writeGroupLines(memReportTextC& text, const memGroupTableS& table, int32_t id) const;
    void write(const std::string& text) const;
    std::string header(const char* title) const;

    memPoolAllocatorC* allocator_;
    memGroupTableS snapshot_;
    memGroupTableS current_;
};

// The module's start-up step for the reports: forgets any snapshot and
// registers with the allocator the reports it runs itself: the leak report
// at shutdown when QVMEMTRACK_LEAK is set, and the report of a double
// release.
void memTrackReportsStartup();
