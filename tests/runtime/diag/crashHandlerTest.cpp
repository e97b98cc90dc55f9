#include "runtime/diag/crashHandlerC.h"

#include "../pureVirtualCall.h"

#include <gtest/gtest.h>
#include <setjmp.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "crashTestSupport.h"

// The crashes, with external linkage so that nothing is folded away.
namespace crash_handler_test {

__attribute__((noinline, no_sanitize("null"))) void writeThroughNull() {
    volatile int* volatile target = nullptr;
    *target = 1;
}

__attribute__((noinline, no_sanitize("undefined"))) int divide(int a, int b) {
    volatile int x = a;
    volatile int y = b;
    return x / y;
}

// Glibc finds the second release of a block too large for its caches while
// it holds the heap's lock (taken once the process has threads), and aborts.
__attribute__((noinline)) void releaseTwice() {
    std::thread([] {}).join();
    void* volatile block = malloc(2000);
    void* volatile fence = malloc(64);  // keeps the block off the heap's top
    free(block);
    free(block);
    free(fence);
}

enum class Crash { NullWrite, Abort, DivideByZero, PureVirtual, DoubleRelease };

__attribute__((noinline)) int crash(Crash how) {
    switch (how) {
        case Crash::NullWrite:
            writeThroughNull();
            break;
        case Crash::Abort:
            abort();
        case Crash::DivideByZero:
            return divide(1, 0);
        case Crash::PureVirtual: {
            pure_virtual_call::Derived d;
            return d.value();
        }
        case Crash::DoubleRelease:
            releaseTwice();
            break;
    }
    return 0;
}

sigjmp_buf g_recover;

void recover(int, siginfo_t*, void*) { siglongjmp(g_recover, 1); }

// Mode 2's case: an access violation that the program recovers from with the
// handler it had before the crash handler came, then a division by zero that
// ends it.
__attribute__((noinline)) int recoverThenDivide(bool install) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_sigaction = recover;
    action.sa_flags = SA_SIGINFO;
    sigaction(SIGSEGV, &action, nullptr);
    setenv("QVDBG_EXCEPTIONHANDLER", "2", 1);
    if (install)
        crashHandlerInstall();
    if (sigsetjmp(g_recover, 1) == 0) {
        writeThroughNull();
        return 2;  // not reached: the write faults
    }
    return divide(1, 0) + 100;
}

}  // namespace crash_handler_test

namespace {

using namespace crash_test;
using crash_handler_test::Crash;

class CrashHandlerTest : public CrashLogDirTest {
protected:
    // Runs how in a child that first installs the crash handler with the
    // mode's value of QVDBG_EXCEPTIONHANDLER (null: unset) when install is set.
    static std::optional<int> run(Crash how, const char* mode, bool install = true) {
        return runChild([=] {
            if (mode)
                setenv("QVDBG_EXCEPTIONHANDLER", mode, 1);
            if (install)
                crashHandlerInstall();
            return crash_handler_test::crash(how) + 100;
        });
    }

    // The log's entries, then a fresh log for the next case.
    std::vector<std::vector<std::string>> takeEntries() {
        auto entries = entriesOf(log());
        std::filesystem::remove(logPath());
        return entries;
    }

    // Checks that the crash ends the child as it ends without the handler
    // (with the given signal, unless a sanitizer takes over) and returns the
    // entries it left.
    std::vector<std::vector<std::string>> crashLikeWithout(Crash how, const char* mode,
                                                           int signal) {
        const std::optional<int> without = run(how, mode, false);
        EXPECT_TRUE(takeEntries().empty());
        const std::optional<int> with = run(how, mode);
        EXPECT_TRUE(without && with) << "child did not end";
        if (without && with) {
            EXPECT_EQ(*with, *without);
#ifndef U3DPDF_SANITIZE
            EXPECT_TRUE(WIFSIGNALED(*with) && WTERMSIG(*with) == signal) << *with;
#else
            (void)signal;  // the sanitizer may end the process its own way
#endif
        }
        return takeEntries();
    }

    // One entry with the given first line pattern and a frame of this file.
    static void expectOneEntry(const std::vector<std::vector<std::string>>& entries,
                               const std::string& firstLine) {
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_TRUE(std::regex_match(entries[0][0], std::regex(firstLine))) << entries[0][0];
        int ours = 0;
        for (size_t i = 1; i < entries[0].size(); ++i) {
            EXPECT_TRUE(parseFrameLine(entries[0][i])) << entries[0][i];
            ours += namesFile(entries[0][i], __FILE__);
        }
        EXPECT_GE(ours, 1) << "no frame names " << __FILE__;
    }
};

}  // namespace

TEST_F(CrashHandlerTest, FatalSignalsAreLoggedOnceAndStillEndTheProcess) {
    for (const char* mode : {static_cast<const char*>(nullptr), "0", "1"}) {
        SCOPED_TRACE(mode ? mode : "unset");
        auto entries = crashLikeWithout(Crash::NullWrite, mode, SIGSEGV);
        expectOneEntry(entries, locationLine(SIGSEGV));
        // The location is the faulting write, with its code bytes.
        const auto start = reinterpret_cast<uint64_t>(&crash_handler_test::writeThroughNull);
        std::smatch m;
        const std::string first = entries.empty() ? "" : entries[0][0];
        ASSERT_TRUE(
            std::regex_match(first, m, std::regex("Location ([0-9a-f]+), Code b SEQ:(.*)")));
        const uint64_t pc = (start & ~0xffffffffull) | std::stoull(m[1], nullptr, 16);
        EXPECT_GE(pc, start);
        EXPECT_LT(pc, start + 256);
        EXPECT_EQ(m[2], hexBytes(pc, 8));
    }

    expectOneEntry(crashLikeWithout(Crash::Abort, nullptr, SIGABRT), locationLine(SIGABRT));
    expectOneEntry(crashLikeWithout(Crash::DivideByZero, nullptr, SIGFPE), locationLine(SIGFPE));
    // The pure virtual call is logged by its own handler; the abort that
    // follows is not a second entry.
    expectOneEntry(crashLikeWithout(Crash::PureVirtual, nullptr, SIGABRT), "Location Unknown");
}

TEST_F(CrashHandlerTest, ModeTwoLogsAccessViolationsAtFirstNotice) {
    const std::optional<int> without =
        runChild([] { return crash_handler_test::recoverThenDivide(false); });
    EXPECT_TRUE(takeEntries().empty());
    const std::optional<int> with =
        runChild([] { return crash_handler_test::recoverThenDivide(true); });
    ASSERT_TRUE(without && with);
    EXPECT_EQ(*with, *without);
#ifndef U3DPDF_SANITIZE
    EXPECT_TRUE(WIFSIGNALED(*with) && WTERMSIG(*with) == SIGFPE) << *with;
#endif
    // The recovered access violation is logged, the division by zero is not.
    expectOneEntry(takeEntries(), locationLine(SIGSEGV));
}

TEST_F(CrashHandlerTest, OtherModesLogOnlyPureVirtualCalls) {
    for (const char* mode : {"3", "-1"}) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(crashLikeWithout(Crash::NullWrite, mode, SIGSEGV).empty());
        EXPECT_TRUE(crashLikeWithout(Crash::Abort, mode, SIGABRT).empty());
        expectOneEntry(crashLikeWithout(Crash::PureVirtual, mode, SIGABRT), "Location Unknown");
    }
}

TEST_F(CrashHandlerTest, UninstallPutsThePreviousHandlersBack) {
    auto handlers = [] {
        std::vector<void*> out;
        for (int s : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) {
            struct sigaction now;
            sigaction(s, nullptr, &now);
            out.push_back(reinterpret_cast<void*>(now.sa_sigaction));
        }
        return out;
    };
    const std::vector<void*> before = handlers();
    setenv("QVDBG_EXCEPTIONHANDLER", "2", 1);
    crashHandlerInstall();
    setenv("QVDBG_EXCEPTIONHANDLER", "1", 1);  // read at installation only
    EXPECT_EQ(crashHandler().mode(), 2);
    const std::vector<void*> hooked = handlers();
    EXPECT_NE(hooked[0], before[0]);
    EXPECT_NE(hooked[1], before[1]);
    EXPECT_EQ(std::vector<void*>(hooked.begin() + 2, hooked.end()),
              std::vector<void*>(before.begin() + 2, before.end()));
    crashHandlerUninstall();
    EXPECT_EQ(crashHandler().mode(), 0);
    EXPECT_EQ(handlers(), before);

    // The pure virtual call handler is gone too.
    const std::optional<int> status = runChild([] {
        crashHandlerInstall();
        crashHandlerUninstall();
        return crash_handler_test::crash(Crash::PureVirtual);
    });
    ASSERT_TRUE(status);
    EXPECT_TRUE(takeEntries().empty());
}

TEST_F(CrashHandlerTest, AbortWithTheHeapLockHeldStillEndsTheProcess) {
#ifdef U3DPDF_SANITIZE
    GTEST_SKIP() << "the sanitizer's allocator reports the double release itself";
#else
    // Resolving names allocates; the watchdog keeps that from waiting for
    // ever on the lock the aborting thread holds.
    const std::optional<int> status = run(Crash::DoubleRelease, nullptr);
    ASSERT_TRUE(status) << "the crashing child hung";
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGABRT) << *status;
    auto entries = takeEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(std::regex_match(entries[0][0], std::regex(locationLine(SIGABRT))))
        << entries[0][0];
    EXPECT_GE(entries[0].size(), 2u);
#endif
}
