// The manager chain: records of several modules in one process find each
// other through the environment. Extra records, each over an allocator of
// its own, stand in for further modules.
#include "runtime/diag/dynMgrChainS.h"
#include "runtime/diag/memTrackReportsC.h"
#include "runtime/memory/memPoolAllocatorC.h"
#include "runtime/platform/platform.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "memReportTestSupport.h"

using namespace mem_report_test;

namespace {

std::string variableName() {
    char name[kDynMgrVariableNameSize];
    dynMgrChainVariableName(name);
    return name;
}

std::optional<std::string> variable() {
    const char* value = getenv(variableName().c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// One stand-in module: an allocator with its pools in use, its reports and
// its chain record.
struct moduleS {
    moduleS() {
        pool.initialise();
        reports = std::make_unique<memTrackReportsC>(pool);
        record = std::make_unique<dynMgrChainS>(*reports);
    }
    ~moduleS() { pool.shutdown(); }
    memPoolAllocatorC pool;
    std::unique_ptr<memTrackReportsC> reports;
    std::unique_ptr<dynMgrChainS> record;
};

// Every case starts without this process's variable and ends without it.
class DynMgrChainTest : public memTrackEnvTest {
protected:
    void SetUp() override {
        memTrackEnvTest::SetUp();
        unsetenv(variableName().c_str());
    }
    void TearDown() override {
        unsetenv(variableName().c_str());
        memTrackEnvTest::TearDown();
    }
};

// The report file a child of the two-process case writes, named by this
// variable; when it is set, the binary is that child and does nothing else.
constexpr char kChildReportVariable[] = "U3DPDF_CHAIN_CHILD_REPORT";

// Runs before the tests: starts the module's own record as a module's
// start-up would and writes down what it found.
const bool g_childRan = [] {
    const char* report = getenv(kChildReportVariable);
    if (report == nullptr)
        return false;
    const std::string name = variableName();
    const bool inherited = getenv(name.c_str()) != nullptr;
    // The parent's variable, inherited under the parent's name.
    bool parentsVisible = false;
    for (char** entry = environ; *entry != nullptr; ++entry)
        parentsVisible = parentsVisible || (std::strncmp(*entry, "QVDYNMGRV8_", 11) == 0);
    dynMgrChainStartup();
    std::ofstream out(report);
    out << name << "\n"
        << (dynMgrChain().head == &dynMgrChain()) << "\n"
        << inherited << "\n"
        << parentsVisible << "\n"
        << ptr(&dynMgrChain()) << "\n"
        << (variable() ? *variable() : std::string("none")) << "\n";
    out.close();
    dynMgrChainShutdown();
    _exit(0);
}();

}  // namespace

TEST_F(DynMgrChainTest, ThreeModulesChainAsHeadThenNewestFirst) {
    moduleS a;
    moduleS b;
    moduleS c;
    a.record->link();
    EXPECT_EQ(a.record->head, a.record.get());
    EXPECT_EQ(a.record->next, nullptr);
    EXPECT_EQ(a.record->manager, &a.pool);
    EXPECT_EQ(variable(), ptr(a.record.get()));

    b.record->link();
    EXPECT_EQ(b.record->head, a.record.get());
    EXPECT_EQ(a.record->next, b.record.get());
    EXPECT_EQ(b.record->next, nullptr);

    // Each newcomer goes directly behind the head: A, C, B.
    c.record->link();
    EXPECT_EQ(c.record->head, a.record.get());
    EXPECT_EQ(a.record->next, c.record.get());
    EXPECT_EQ(c.record->next, b.record.get());
    EXPECT_EQ(b.record->next, nullptr);

    // Unloading B leaves A, C, the variable untouched.
    b.record->unlink();
    EXPECT_EQ(a.record->next, c.record.get());
    EXPECT_EQ(c.record->next, nullptr);
    EXPECT_EQ(b.record->head, nullptr);
    EXPECT_EQ(variable(), ptr(a.record.get()));

    // Unloading the head instead unchains everyone and removes the variable.
    b.record->link();  // A, B, C
    ASSERT_EQ(a.record->next, b.record.get());
    memSetOutputFunction(outputCaptureS::collect);
    a.record->unlink();
    EXPECT_EQ(a.record->head, nullptr);
    EXPECT_EQ(b.record->head, nullptr);
    EXPECT_EQ(c.record->head, nullptr);
    EXPECT_EQ(variable(), std::nullopt);
    // Unchaining reset the output function.
    EXPECT_EQ(memOutputFunction(), &platform::debugOutput);
    // B finds nothing to walk at its unload; C is left as it was.
    b.record->unlink();
    EXPECT_EQ(c.record->head, nullptr);

    // A module loaded afterwards starts a new chain as its head.
    moduleS d;
    d.record->link();
    EXPECT_EQ(d.record->head, d.record.get());
    EXPECT_EQ(variable(), ptr(d.record.get()));
    c.record->link();
    EXPECT_EQ(d.record->next, c.record.get());
    d.record->unlink();
    c.record->unlink();
    EXPECT_EQ(variable(), std::nullopt);
}

TEST_F(DynMgrChainTest, TheModulesRecordLinksAtStartupAndLeavesAtShutdown) {
    moduleS first;
    first.record->link();
    dynMgrChainStartup();
    EXPECT_EQ(dynMgrChain().head, first.record.get());
    EXPECT_EQ(first.record->next, &dynMgrChain());
    EXPECT_EQ(dynMgrChain().manager, &memPoolAllocatorC::instance());
    dynMgrChainShutdown();
    EXPECT_EQ(first.record->next, nullptr);
    EXPECT_EQ(dynMgrChain().head, nullptr);
    first.record->unlink();

    dynMgrChainStartup();
    EXPECT_EQ(variable(), ptr(&dynMgrChain()));
    dynMgrChainShutdown();
    EXPECT_EQ(variable(), std::nullopt);
}

TEST_F(DynMgrChainTest, AVariableThatNamesNoRecordIsNoHead) {
    moduleS a;
    for (const char* value : {"not an address", "0x10", ""}) {
        setenv(variableName().c_str(), value, 1);
        a.record->link();
        EXPECT_EQ(a.record->head, a.record.get()) << value;
        EXPECT_EQ(variable(), ptr(a.record.get()));
        a.record->unlink();
    }
}

TEST_F(DynMgrChainTest, ReportsGoThroughTheCallersOutputFunction) {
    moduleS a;
    moduleS c;
    a.record->link();
    c.record->link();
    dynMgrChainS* other = a.record->next;  // as another module reaches it
    ASSERT_EQ(other, c.record.get());

    std::vector<void*> blocks{c.pool.alloc(24), c.pool.alloc(24), c.pool.alloc(5000)};
    outputCaptureS::text().clear();
    other->leakReport(outputCaptureS::collect);
    EXPECT_EQ(outputCaptureS::text(), c.reports->summaryText());
    EXPECT_EQ(memOutputFunction(), &platform::debugOutput);

    other->takeSnapshot();
    blocks.push_back(c.pool.alloc(24));
    outputCaptureS::text().clear();
    other->compareSnapshot(outputCaptureS::collect);
    EXPECT_EQ(outputCaptureS::text(),
              "QVMEMTRACK Compare Snap (" + moduleName() +
                  ")\nMem     24, Befor=  2, After=  3,Diff=  1, Name unk (24)\n");

    outputCaptureS::text().clear();
    other->inspectAddress(outputCaptureS::collect, blocks[0]);
    EXPECT_EQ(outputCaptureS::text(), c.reports->inspectText(blocks[0]));
    outputCaptureS::text().clear();
    other->memoryCheck(outputCaptureS::collect);
    EXPECT_EQ(outputCaptureS::text(), header("Memory Check"));
    EXPECT_EQ(memOutputFunction(), &platform::debugOutput);

    EXPECT_EQ(other->peakPoolBytes(), 10000u);
    EXPECT_EQ(other->peakOsBytes(), 5000u);
    EXPECT_EQ(other->peakBytes(), 15000u);
    EXPECT_EQ(a.record->peakBytes(), 0u);

    for (void* p : blocks)
        c.pool.free(p);
    a.record->unlink();
}

TEST(DynMgrChainLayoutTest, SlotsAndFieldsKeepTheirPlaces) {
    // A pointer to a virtual member holds 1 + the slot's offset in the table.
    auto slotOf = [](auto member) {
        uintptr_t value = 0;
        std::memcpy(&value, &member, sizeof value);
        return static_cast<int>((value - 1) / sizeof(void*)) + 1;
    };
    EXPECT_EQ(slotOf(&dynMgrChainS::setHead), 1);
    EXPECT_EQ(slotOf(&dynMgrChainS::leakReport), 2);
    EXPECT_EQ(slotOf(&dynMgrChainS::memoryCheck), 3);
    EXPECT_EQ(slotOf(&dynMgrChainS::takeSnapshot), 4);
    EXPECT_EQ(slotOf(&dynMgrChainS::compareSnapshot), 5);
    EXPECT_EQ(slotOf(&dynMgrChainS::inspectAddress), 6);
    EXPECT_EQ(slotOf(&dynMgrChainS::peakBytes), 7);
    EXPECT_EQ(slotOf(&dynMgrChainS::peakOsBytes), 8);
    EXPECT_EQ(slotOf(&dynMgrChainS::peakPoolBytes), 9);

    // The table pointer, then next, head and manager.
    dynMgrChainS& record = dynMgrChain();
    const auto* base = reinterpret_cast<const char*>(&record);
    EXPECT_EQ(reinterpret_cast<const char*>(&record.next) - base, 8);
    EXPECT_EQ(reinterpret_cast<const char*>(&record.head) - base, 16);
    EXPECT_EQ(reinterpret_cast<const char*>(&record.manager) - base, 24);
}

TEST_F(DynMgrChainTest, AChildProcessPublishesUnderItsOwnName) {
    moduleS parent;
    parent.record->link();
    char dir[] = "/tmp/dynmgr_child_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string report = std::string(dir) + "/report.txt";

    const pid_t pid = fork();
    if (pid == 0) {
        // A new process image inheriting the environment, the variable of
        // this process included.
        setenv(kChildReportVariable, report.c_str(), 1);
        char self[] = "/proc/self/exe";
        char filter[] = "--gtest_filter=None";
        char* argv[] = {self, filter, nullptr};
        execv(self, argv);
        _exit(127);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    std::ifstream in(report);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NE(lines[0], variableName());
    EXPECT_EQ(lines[0].rfind("QVDYNMGRV8_", 0), 0u);
    EXPECT_EQ(lines[1], "1");       // the child's record became its own head
    EXPECT_EQ(lines[2], "0");       // nothing under the child's name...
    EXPECT_EQ(lines[3], "1");       // ...although the parent's variable was there
    EXPECT_EQ(lines[5], lines[4]);  // published its own record
    // The parent's chain is untouched.
    EXPECT_EQ(variable(), ptr(parent.record.get()));
    EXPECT_EQ(parent.record->next, nullptr);
    std::remove(report.c_str());
    rmdir(dir);
    parent.record->unlink();
}
