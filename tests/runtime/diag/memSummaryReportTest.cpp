// Summary, detail and leak reports over a private allocator.
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/diag/memTypeNamerC.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/str/str.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "memReportTestSupport.h"

using namespace mem_report_test;

namespace {

using MemSummaryReportTest = memReportTest;

void store(void* block, size_t offset, const void* value) {
    std::memcpy(static_cast<char*>(block) + offset, &value, sizeof value);
}

}  // namespace

TEST_F(MemSummaryReportTest, GroupsBySizeAloneWithoutTypeNames) {
    start();
    EXPECT_EQ(reports().summaryText(), header("Summary Report") + "Mgr Bytes : 0\nOS  Bytes : 0\n");

    void* first24 = pool().alloc(24);
    void* thirteen = pool().alloc(13);
    void* second24 = pool().alloc(24);
    void* twenty = pool().alloc(20);  // same class as 24, another size
    void* large = pool().alloc(3000);
    // Class 2 (13 bytes) is walked before class 3; within a page the slots
    // go up in address, and blocks are handed out from the top down.
    EXPECT_EQ(reports().summaryText(),
              header("Summary Report") + line(-1, -1, 13, 1, "unk", thirteen, 0) +
                  line(-1, -1, 20, 1, "unk", twenty, 0) + line(-1, -1, 24, 2, "unk", second24, 0) +
                  "Mgr Bytes : 81\nOS  Bytes : 3000\n");
    EXPECT_LT(second24, first24);
    // The report's own allocations went elsewhere and the bypass is back.
    EXPECT_EQ(pool().poolBypass(), 0u);
    EXPECT_EQ(pool().liveBlocks(), 5);

    for (void* p : {first24, thirteen, second24, twenty, large})
        pool().free(p);
}

TEST_F(MemSummaryReportTest, DetailNamesEachBlockAndItsFirstParent) {
    start();
    void* b1 = pool().alloc(16);
    void* a1 = pool().alloc(24);
    void* a2 = pool().alloc(24);
    std::memset(a1, 0, 24);
    std::memset(a2, 0, 24);
    std::memset(b1, 0, 16);
    store(a1, 8, b1);
    store(a2, 0, b1);
    store(a2, 16, a1);
    // The 16-byte page (416 slots of 24 bytes) is walked first, then the
    // 24-byte page (312 slots of 32 bytes).
    const memPageS* page16 = pool().classList(2);
    const memPageS* page24 = pool().classList(3);
    inspected([&] {
        ASSERT_EQ(page16->capacity, 416u);
        ASSERT_EQ(page24->capacity, 312u);
        EXPECT_EQ(idIn(page16, 0, b1, 8), 416);
        EXPECT_EQ(idIn(page24, 416, a1, 8), 728);
    });
    // a2 comes first in walk order, so it is the parent of both.
    EXPECT_EQ(reports().detailText(),
              header("Detail Memory Report") + line(416, 727, 16, 1, "unk", b1, 0) +
                  line(727, -1, 24, 1, "unk", a2, 0) + line(728, 727, 24, 1, "unk", a1, 0));

    // The leak report without QVMEMTRACK_LEAK is the summary alone.
    outputCaptureS output;
    reports().leakReport();
    EXPECT_EQ(outputCaptureS::text(), reports().summaryText());

    for (void* p : {a1, a2, b1})
        pool().free(p);
}

TEST_F(MemSummaryReportTest, LeakReportAtShutdownGoesToTheReportFile) {
    char path[] = "/tmp/u3dpdf_leak_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    platform::setEnv("QVMEMTRACK_LEAK", "");
    platform::setEnv("QVMEMTRACK_OUTPUT", path);
    memTrackReportsStartup();
    outputCaptureS output;
    {
        memPoolAllocatorC pool;  // the leaks stay: no test pool's checks
        pool.initialise();
        void* leaked = pool.alloc(40);
        std::memset(leaked, 0, 40);
        memTrackReportsC reference(pool);
        const std::string expected = reference.summaryText() + reference.detailText();
        int leakedId = 0;
        {
            memPoolInspectScopeC open(pool);
            leakedId = idIn(pool.classList(5), 0, leaked, 8);
        }
        EXPECT_EQ(expected, header("Summary Report") + line(-1, -1, 40, 1, "unk", leaked, 0) +
                                "Mgr Bytes : 40\nOS  Bytes : 0\n" + header("Detail Memory Report") +
                                line(leakedId, -1, 40, 1, "unk", leaked, 0));
        pool.shutdown();
        std::ifstream in(path);
        const std::string written((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
        EXPECT_EQ(written, expected);
        pool.free(leaked);
        EXPECT_EQ(pool.pageCount(), 0u);  // released as soon as it emptied
    }
    EXPECT_EQ(outputCaptureS::text(), "");
    memSetLeakReport(nullptr);
    std::remove(path);
}

namespace diag_test {

// Objects with their own table, named after their class.
struct shapeC {
    virtual int area() const;
    int width = 3;
};
__attribute__((noinline)) int shapeC::area() const { return width * width; }

__attribute__((noinline)) int plainFunction(int x) { return x * 7; }

}  // namespace diag_test

TEST_F(MemSummaryReportTest, TypeNamesFromTheObjectsTable) {
    platform::setEnv("QVMEMTRACK_TYPEINFO", "");
    start();
    static_assert(sizeof(diag_test::shapeC) == 16);
    auto* shape = new (pool().alloc(sizeof(diag_test::shapeC))) diag_test::shapeC;
    auto* text = static_cast<char*>(pool().alloc(16));
    std::strcpy(text, "not an object");
    void* tiny = pool().alloc(4);  // no room for a table pointer
    std::memset(tiny, 0x55, 4);
    // A "table" whose first entry is code that is not a function's start.
    static const void* notAFunction[] = {reinterpret_cast<const char*>(&diag_test::plainFunction) +
                                         1};
    auto* fake = static_cast<const void**>(pool().alloc(8));
    *fake = notAFunction;

    EXPECT_EQ(reports().summaryText(),
              header("Summary Report") + line(-1, -1, 8, 1, "array", fake, 0) +
                  line(-1, -1, 4, 1, "array", tiny, 0) + line(-1, -1, 16, 1, "array", text, 0) +
                  line(-1, -1, 16, 1, "diag_test::shapeC", shape, 0) +
                  "Mgr Bytes : 44\nOS  Bytes : 0\n");

    // Managed objects share their first table entry, memManInterfaceC's
    // memSystem, and are named after that class.
    auto* managed = new (pool().alloc(sizeof(str))) str;
    EXPECT_NE(
        reports().summaryText().find(line(-1, -1, sizeof(str), 1, "memManInterfaceC", managed, 0)),
        std::string::npos);
    managed->~str();

    for (void* p : {static_cast<void*>(shape), static_cast<void*>(text), tiny,
                    static_cast<void*>(fake), static_cast<void*>(managed)})
        pool().free(p);
}

TEST(MemTypeNamesTest, ClassOfASymbol) {
    EXPECT_EQ(memTypeNamerC::classOf("ns::shapeC::area() const"), "ns::shapeC");
    EXPECT_EQ(memTypeNamerC::classOf("pageMemT<int, 3>::pageIC::~pageIC()"),
              "pageMemT<int, 3>::pageIC");
    EXPECT_EQ(memTypeNamerC::classOf("holder<std::less<int> >::get(std::pair<int, int>)"),
              "holder<std::less<int> >");
    EXPECT_EQ(memTypeNamerC::classOf("freeFunction(int)"), "freeFunction");
    EXPECT_EQ(memTypeNamerC::classOf("::global()"), "::global");
    EXPECT_EQ(memTypeNamerC::classOf("cls::operator()(int)"), "cls");
    EXPECT_EQ(memTypeNamerC::classOf("plain_c_symbol"), "plain_c_symbol");
}

namespace diag_test {

const int kAllocLine = __LINE__ + 2;
__attribute__((noinline)) void* allocateForTest(memPoolAllocatorC& pool) {
    void* p = pool.alloc(32);
    asm volatile("" ::: "memory");  // keeps the frame
    return p;
}

}  // namespace diag_test

TEST_F(MemSummaryReportTest, DetailWithLocationsListsTheAllocatingStack) {
    platform::setEnv("QVMEMTRACK_LOCATION", "");
    start();
    ASSERT_EQ(pool().headerSize(), 136u);
    void* block = diag_test::allocateForTest(pool());
    std::memset(block, 0, 32);
    const std::string text = reports().detailText();
    const std::string blockLine = line(
        inspected([&] { return idIn(pool().classList(4), 0, block, 136); }), -1, 32, 1, "unk", block, 0);
    ASSERT_EQ(text.rfind(header("Detail Memory Report") + blockLine, 0), 0u) << text;
    // Then the frames, the allocator's own left out: the first names the
    // allocating function, at the line of its call.
    const std::string frames =
        text.substr(header("Detail Memory Report").size() + blockLine.size());
    const std::string first = frames.substr(0, frames.find('\n'));
    EXPECT_EQ(first.rfind(std::string(__FILE__) + "(" + std::to_string(diag_test::kAllocLine) +
                              ") : diag_test::allocateForTest(memPoolAllocatorC&) (",
                          0),
              0u)
        << frames;
    EXPECT_EQ(frames.find("src/runtime/memory/"), std::string::npos) << frames;
    pool().free(block);
}
