#include "runtime/diag/crashLog.h"
#include "runtime/diag/frameLines.h"
#include "runtime/diag/stackWalk.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "crashTestSupport.h"

namespace fs = std::filesystem;
using namespace crash_test;

namespace {

using CrashLogTest = CrashLogDirTest;

__attribute__((noinline)) void captureHere(uint64_t* out) {
    captureStack(out);
    asm volatile("" ::: "memory");
}

}  // namespace

TEST_F(CrashLogTest, EntriesWithAndWithoutLocation) {
    uint64_t stack[kCapturedStackEntries];
    captureHere(stack);
    const int frames = capturedEntries(stack);
    ASSERT_GE(frames, 2);
    const auto code = reinterpret_cast<uint64_t>(&captureHere);
    platform::CrashInfo info{code, 11, code, 0};
    writeCrashLog(&info, stack);
    writeCrashLog(nullptr, stack);
    uint64_t empty[kCapturedStackEntries] = {};
    writeCrashLog(nullptr, empty);

    const auto entries = entriesOf(log());
    ASSERT_EQ(entries.size(), 3u) << log();
    EXPECT_EQ(entries[0][0], "Location " + hex32(code) + ", Code b SEQ:" + hexBytes(code, 8));
    EXPECT_EQ(entries[1][0], "Location Unknown");
    EXPECT_EQ(entries[2], std::vector<std::string>{"Location Unknown"});
    for (int e = 0; e < 2; ++e) {
        ASSERT_EQ(entries[e].size(), static_cast<size_t>(1 + frames)) << log();
        for (size_t i = 1; i < entries[e].size(); ++i)
            EXPECT_TRUE(parseFrameLine(entries[e][i])) << entries[e][i];
        EXPECT_TRUE(namesFile(entries[e][1], __FILE__)) << entries[e][1];
    }

    // Code bytes stop at the first unreadable one.
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* mem = static_cast<unsigned char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(mem, MAP_FAILED);
    ASSERT_EQ(mprotect(mem + page, page, PROT_NONE), 0);
    mem[page - 2] = 0xc3;
    mem[page - 1] = 0x0f;
    const auto edge = reinterpret_cast<uint64_t>(mem + page - 2);
    platform::CrashInfo atEdge{edge, 0xc0000005u, edge, 0};
    writeCrashLog(&atEdge, empty);
    EXPECT_EQ(entriesOf(log()).back(),
              std::vector<std::string>{"Location " + hex32(edge) + ", Code c0000005 SEQ:c30f"});
    munmap(mem, 2 * page);
}

TEST_F(CrashLogTest, DirectoryFromTmpThenTempThenDefault) {
    uint64_t empty[kCapturedStackEntries] = {};
    const std::string other = dir_ + "/other";
    fs::create_directory(other);
    const std::string otherLog = other + "/qvdbgcrash.log";

    // "tmp" wins over "temp".
    setenv("temp", other.c_str(), 1);
    writeCrashLog(nullptr, empty);
    EXPECT_EQ(log(), "Location Unknown\n");
    EXPECT_FALSE(fs::exists(otherLog));

    // Without "tmp" (or with an empty one), "temp".
    unsetenv("tmp");
    writeCrashLog(nullptr, empty);
    setenv("tmp", "", 1);
    writeCrashLog(nullptr, empty);
    EXPECT_EQ(readFile(otherLog), "Location Unknown\nLocation Unknown\n");

    // A directory that cannot take the file loses the entry, quietly.
    setenv("tmp", (dir_ + "/missing").c_str(), 1);
    writeCrashLog(nullptr, empty);
    EXPECT_EQ(readFile(otherLog), "Location Unknown\nLocation Unknown\n");

    // Neither: the platform's temporary directory. The file there is shared,
    // so only this entry's growth is checked and then taken back.
    unsetenv("tmp");
    unsetenv("temp");
    const std::string fallback = std::string(platform::defaultTempDirectory()) + "/qvdbgcrash.log";
    const bool existed = fs::exists(fallback);
    const uintmax_t before = existed ? fs::file_size(fallback) : 0;
    writeCrashLog(nullptr, empty);
    const std::string content = readFile(fallback);
    EXPECT_EQ(content.substr(static_cast<size_t>(before)), "Location Unknown\n");
    if (existed)
        fs::resize_file(fallback, before);
    else
        fs::remove(fallback);
}
