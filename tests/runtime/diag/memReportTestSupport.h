// What the memory report tests share: a private allocator with its reports,
// the output function captured, and the fixed parts of the texts computed
// independently of the code under test.
#pragma once

#include "runtime/diag/memTrackReportsC.h"
#include "runtime/memory/memReport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "../memory/testPool.h"

namespace mem_report_test {

// "%p" in the reports: 16 upper-case hex digits.
inline std::string ptr(const void* p) {
    char text[32];
    snprintf(text, sizeof text, "%016llX",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
    return text;
}

inline std::string moduleName() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    const std::string path(buf, n > 0 ? static_cast<size_t>(n) : 0);
    return path.substr(path.rfind('/') + 1);
}

// "QVMEMTRACK <title> (Pid=<pid>,<module>)\n"
inline std::string header(const std::string& title) {
    return "QVMEMTRACK " + title + " (Pid=" + std::to_string(getpid()) + "," + moduleName() + ")\n";
}

// A block line as the reports print it.
inline std::string line(int id, int parent, long long size, int count, const std::string& name,
                        const void* user, unsigned offset) {
    char text[512];
    std::string out;
    if (id >= 0) {
        snprintf(text, sizeof text, "Id %6d,", id);
        out += text;
    }
    if (parent >= 0) {
        snprintf(text, sizeof text, "Parent %6d,", parent);
        out += text;
    }
    snprintf(text, sizeof text, "Mem %6lld, Cnt %6d, Name %s (%lld) (0x%s + 0x%04x)\n",
             size * count, count, name.c_str(), size, ptr(user).c_str(), offset);
    return out + text;
}

// Collects what reports hand to the output function.
struct outputCaptureS {
    static std::string& text() {
        static std::string captured;
        return captured;
    }
    static void collect(const char* piece) {
        EXPECT_LE(std::strlen(piece), 80u);
        text() += piece;
    }
    outputCaptureS() {
        text().clear();
        memSetOutputFunction(collect);
    }
    ~outputCaptureS() { memSetOutputFunction(nullptr); }
};

// A private allocator with its pools in use and its reports; the tracking
// variables are cleared around each case.
class memReportTest : public memTrackEnvTest {
protected:
    void start() {
        pool_ = std::make_unique<testPoolC>();
        reports_ = std::make_unique<memTrackReportsC>(**pool_);
    }
    void TearDown() override {
        reports_.reset();
        pool_.reset();
        memTrackEnvTest::TearDown();
    }
    memPoolAllocatorC& pool() { return **pool_; }
    memTrackReportsC& reports() { return *reports_; }

    // What look() returns, looked at with the pools open: where a memory
    // checker watches, the test's own reads of pages and headers (and the
    // damage it does to them) are no fault. The reports open them alone.
    template <class Look>
    auto inspected(Look look) {
        memPoolInspectScopeC open(pool());
        return look();
    }

    // The block walk's Id of a block: slots of the pages walked before its
    // page, plus its slot index + 1.
    static int idIn(const memPageS* page, int slotsBefore, const void* user, uint32_t headerSize) {
        const auto* head = static_cast<const unsigned char*>(user) - headerSize;
        return slotsBefore + static_cast<int>((head - page->slots) / page->slotSize) + 1;
    }

    std::unique_ptr<testPoolC> pool_;
    std::unique_ptr<memTrackReportsC> reports_;
};

}  // namespace mem_report_test
