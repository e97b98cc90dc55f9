// Snapshots and comparisons against them.
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <gtest/gtest.h>

#include <vector>

#include "memReportTestSupport.h"

using namespace mem_report_test;

namespace {

using MemSnapshotReportTest = memReportTest;

const std::string kCompareHeader = "QVMEMTRACK Compare Snap (" + moduleName() + ")\n";

}  // namespace

TEST_F(MemSnapshotReportTest, ComparisonListsChangedVanishedAndNewGroups) {
    start();
    std::vector<void*> forties{pool().alloc(40), pool().alloc(40), pool().alloc(40)};
    std::vector<void*> pairs{pool().alloc(24), pool().alloc(24)};
    void* steady = pool().alloc(100);
    reports().takeSnapshot();
    // At once: nothing changed.
    EXPECT_EQ(reports().compareText(), kCompareHeader);

    for (void* p : forties)
        pool().free(p);
    pairs.push_back(pool().alloc(24));
    std::vector<void*> fresh{pool().alloc(48), pool().alloc(48)};
    const std::string expected = kCompareHeader +
                                 "Mem     24, Befor=  2, After=  3,Diff=  1, Name unk (24)\n"
                                 "Mem    120, Befor=  3, After=  0,Diff= -3, Name unk (40)\n"
                                 "Mem     96, Befor=  0, After=  2,Diff=  2, Name unk (48)\n";
    EXPECT_EQ(reports().compareText(), expected);
    // The same snapshot compares the same way again, and the written
    // comparison is that text.
    outputCaptureS output;
    reports().compareSnapshot();
    EXPECT_EQ(outputCaptureS::text(), expected);

    // A new snapshot starts over.
    reports().takeSnapshot();
    pool().free(pairs.back());
    pairs.pop_back();
    EXPECT_EQ(reports().compareText(),
              kCompareHeader + "Mem     24, Befor=  3, After=  2,Diff= -1, Name unk (24)\n");

    for (void* p : pairs)
        pool().free(p);
    for (void* p : fresh)
        pool().free(p);
    pool().free(steady);
}
