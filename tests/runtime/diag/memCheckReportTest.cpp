// The memory check, the inspection of an address and the report of a
// double release.
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/memory/memPoolAllocatorC.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

#include "crashTestSupport.h"
#include "memReportTestSupport.h"

using namespace mem_report_test;

namespace {

using MemCheckReportTest = memReportTest;

void store(void* block, size_t offset, const void* value) {
    std::memcpy(static_cast<char*>(block) + offset, &value, sizeof value);
}

std::string invalidBlock(const void* head) { return "Invalid Block " + ptr(head) + "\n"; }

}  // namespace

TEST_F(MemCheckReportTest, MemoryCheckFindsBrokenGuardsLinksAndPages) {
    start();
    const std::string clean = header("Memory Check");
    EXPECT_EQ(reports().memoryCheckText(), clean);

    auto* thirteen = static_cast<unsigned char*>(pool().alloc(13));
    auto* sixteen = static_cast<unsigned char*>(pool().alloc(16));
    void* released = pool().alloc(16);
    void* other = pool().alloc(16);
    pool().free(released);
    EXPECT_EQ(reports().memoryCheckText(), clean);

    // The damage is done with the pools open (where a memory checker
    // watches, it would report it first); the check runs as in the module.
    // One byte past the requested size overwrites the guard; a block of a
    // whole class size has none, and its last byte is its own.
    memBlockHeadS* releasedHead = pool().header(released);
    int32_t link = 0;
    inspected([&] {
        thirteen[13] = 0;
        link = releasedHead->link;
        releasedHead->link = 20000;
    });
    sixteen[15] = 0;
    EXPECT_EQ(reports().memoryCheckText(), clean + invalidBlock(pool().header(released)) +
                                               invalidBlock(pool().header(thirteen)));
    inspected([&] {
        thirteen[13] = kMemGuardByte;
        releasedHead->link = link;
    });

    // A live block claiming another page as owner.
    memBlockHeadS* otherHead = pool().header(other);
    inspected([&] { otherHead->owner += 8; });
    EXPECT_EQ(reports().memoryCheckText(), clean + invalidBlock(otherHead));
    inspected([&] { otherHead->owner -= 8; });

    // A broken page ends the walk of its list (written to the output).
    memPageS* page = pool().classList(2);
    inspected([&] { page->magic = 0; });
    outputCaptureS output;
    reports().memoryCheck();
    EXPECT_EQ(outputCaptureS::text(), clean + "invalid page block\n");
    inspected([&] { page->magic = kMemPageMagic; });
    EXPECT_EQ(reports().memoryCheckText(), clean);

    for (void* p : {static_cast<void*>(thirteen), static_cast<void*>(sixteen), other})
        pool().free(p);
}

TEST_F(MemCheckReportTest, InspectionOfAnAddressInsideABlock) {
    start();
    // a holds b, b holds c, c holds a: a cycle back to the inspected block;
    // c also holds d, and e holds a.
    void* a = pool().alloc(24);
    void* b = pool().alloc(24);
    void* c = pool().alloc(24);
    void* d = pool().alloc(16);
    void* e = pool().alloc(32);
    for (void* p : {a, b, c})
        std::memset(p, 0, 24);
    std::memset(d, 0, 16);
    std::memset(e, 0, 32);
    store(a, 8, b);
    store(a, 16, b);  // two words, two lines
    store(b, 0, c);
    store(c, 0, a);
    store(c, 8, static_cast<char*>(d) + 4);  // into d, not at its start
    store(e, 24, static_cast<char*>(a) + 5);

    // Walked: the 16-byte page (416 slots), the 24-byte page (312), then
    // the 32-byte page (250), where e is the last slot.
    ASSERT_EQ(inspected([&] { return pool().classList(2)->capacity + pool().classList(3)->capacity; }),
              728u);
    const int eId = inspected([&] { return idIn(pool().classList(4), 728, e, 8); });
    ASSERT_EQ(eId, 978);
    // All children, ordered by address and grouped: a, b, c in one group
    // (a reached back through c), d in another.
    std::vector<void*> reached{a, b, c, d};
    std::sort(reached.begin(), reached.end());
    std::string all;
    bool listed24 = false;
    for (void* p : reached) {
        if (p == d)
            all += line(0, -1, 16, 1, "unk", d, 0);
        if (p != d && !listed24) {
            all += line(0, -1, 24, 3, "unk", p, 0);
            listed24 = true;
        }
    }
    const std::string expected = header("Inspect Addr " + ptr(static_cast<char*>(a) + 5)) +
                                 "Object:\n" + line(0, -1, 24, 1, "unk", a, 0) + "Parents:\n" +
                                 line(eId, -1, 32, 1, "unk", e, 24) + "direct Childs:\n" +
                                 line(0, -1, 24, 1, "unk", b, 0) + line(0, -1, 24, 1, "unk", b, 0) +
                                 "Bytes : 48\nall Childs:\n" + all + "Bytes : 88\n";
    EXPECT_EQ(reports().inspectText(static_cast<char*>(a) + 5), expected);

    for (void* p : {a, b, c, d, e})
        pool().free(p);
}

TEST_F(MemCheckReportTest, InspectionOutsideThePools) {
    start();
    auto* large = static_cast<unsigned char*>(pool().alloc(3000));
    void* child = pool().alloc(16);
    void* holder = pool().alloc(8);
    std::memset(large, 0, 3000);
    std::memset(child, 0, 16);
    store(large, 64, child);
    store(holder, 0, large);
    const int holderId = inspected([&] { return idIn(pool().classList(1), 0, holder, 8); });
    EXPECT_EQ(reports().inspectText(large),
              header("Inspect Addr " + ptr(large)) + "Object:\nNot in Mgr found!\n" +
                  line(0, -1, 3000, 1, "unk", large, 0) + "Parents:\n" +
                  line(holderId, -1, 8, 1, "unk", holder, 0) + "direct Childs:\n" +
                  line(0, -1, 16, 1, "unk", child, 0) + "Bytes : 16\nall Childs:\n" +
                  line(0, -1, 16, 1, "unk", child, 0) + "Bytes : 16\n");

    // An address that is no block at all, even one that cannot be read.
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(page, MAP_FAILED);
    const char* wild = static_cast<char*>(page) + 64;
    outputCaptureS output;
    reports().inspect(wild);
    EXPECT_EQ(outputCaptureS::text(),
              header("Inspect Addr " + ptr(wild)) + "Object:\nNot in Mgr found!\ncan not eval!\n");
    munmap(page, 4096);
    // A header that claims a page it does not have.
    unsigned char fake[64] = {};
    const int32_t owner = 5000;
    std::memcpy(fake, &owner, sizeof owner);
    EXPECT_EQ(reports().inspectText(fake + 8), header("Inspect Addr " + ptr(fake + 8)) +
                                                   "Object:\nNot in Mgr found!\ncan not eval!\n");

    for (void* p : {static_cast<void*>(large), child, holder})
        pool().free(p);
}

namespace mem_check_test {

const int kReleaseLine = __LINE__ + 2;
__attribute__((noinline)) void releaseHere(memPoolAllocatorC& pool, void* p) {
    pool.free(p);
    asm volatile("" ::: "memory");  // keeps the frame
}

}  // namespace mem_check_test

TEST_F(MemCheckReportTest, DoubleReleaseNamesTheReleasingCode) {
    start();
    memTrackReportsStartup();  // registers the report with the allocator
    void* block = pool().alloc(24);
    pool().free(block);
    outputCaptureS output;
    const int callLine = __LINE__ + 1;
    mem_check_test::releaseHere(pool(), block);
    const std::string& text = outputCaptureS::text();
    const std::string start = "free called on free object\nstack track :\n";
    ASSERT_EQ(text.rfind(start, 0), 0u) << text;

    std::vector<std::string> lines;
    std::istringstream in(text.substr(start.size()));
    for (std::string frame; std::getline(in, frame);)
        lines.push_back(frame);
    ASSERT_GE(lines.size(), 2u) << text;
    for (const std::string& frame : lines) {
        EXPECT_TRUE(crash_test::parseFrameLine(frame)) << frame;
        EXPECT_EQ(frame.find("src/runtime/memory/"), std::string::npos) << frame;
    }
    // The allocator's frames are left out; its fast path, inlined into the
    // releasing function, is shown at that function's line.
    const auto first = crash_test::parseFrameLine(lines[0]);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->file, __FILE__);
    EXPECT_EQ(first->line, mem_check_test::kReleaseLine);
    EXPECT_EQ(first->symbol, "mem_check_test::releaseHere(memPoolAllocatorC&, void*)");
    const auto second = crash_test::parseFrameLine(lines[1]);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->file, __FILE__);
    EXPECT_EQ(second->line, callLine);
    EXPECT_EQ(pool().poolBypass(), 0u);
    memSetLeakReport(nullptr);
    memSetDoubleReleaseReport(nullptr);
}
