#include "runtime/platform/platform.h"

#include <gtest/gtest.h>
#include <setjmp.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>

#include "../pureVirtualCall.h"
#include "childProcess.h"

namespace {

// State of the forked child in which each case runs.
int g_reportFd = -1;
std::atomic<int> g_callbackRuns{0};  // lock-free: fine inside a handler
std::atomic<int> g_previousRuns{0};
sigjmp_buf g_recover;

void reportCrash(const platform::CrashInfo& info) {
    ++g_callbackRuns;
    if (g_reportFd >= 0)
        (void)!write(g_reportFd, &info, sizeof info);
}

void countCrash(const platform::CrashInfo&) { ++g_callbackRuns; }

// A sanitizer runtime hooks SIGSEGV and friends itself; the cases state their
// own previous actions, starting from the defaults.
void resetToDefault(int signal) {
    struct sigaction dfl;
    memset(&dfl, 0, sizeof dfl);
    dfl.sa_handler = SIG_DFL;
    sigaction(signal, &dfl, nullptr);
}

void setHandler(int signal, void (*handler)(int)) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = handler;
    sigaction(signal, &action, nullptr);
}

void recoveringHandler(int, siginfo_t*, void*) {
    ++g_previousRuns;
    siglongjmp(g_recover, 1);
}

void countingHandler(int) { ++g_previousRuns; }

// The fault itself is the point: the sanitizer must not stop it first.
__attribute__((noinline, no_sanitize("null"))) void writeThroughNull() {
    volatile int* volatile target = nullptr;
    *target = 1;
}

// Recursion deep enough to exhaust any stack; each level keeps a live frame.
__attribute__((noinline)) int recurse(int depth) {
    volatile char pad[512];
    pad[0] = static_cast<char>(depth);
    volatile int next = depth + 1;
    if (next > 0)
        return recurse(next) + pad[0];
    return 0;
}

platform::CrashInfo infoFrom(const ChildResult& child) {
    platform::CrashInfo info{};
    if (child.output.size() == sizeof info)
        memcpy(&info, child.output.data(), sizeof info);
    return info;
}

}  // namespace

TEST(PlatformCrashHookTest, FatalFaultIsReportedAndStillKillsTheProcess) {
    ChildResult child = runChild([](int fd) {
        resetToDefault(SIGSEGV);
        g_reportFd = fd;
        if (!platform::installCrashHook(1, reportCrash))
            return 2;
        writeThroughNull();
        return 3;
    });
    ASSERT_TRUE(WIFSIGNALED(child.status)) << child.status;
    EXPECT_EQ(WTERMSIG(child.status), SIGSEGV);
    ASSERT_EQ(child.output.size(), sizeof(platform::CrashInfo));
    platform::CrashInfo info = infoFrom(child);
    EXPECT_EQ(info.code, static_cast<uint32_t>(SIGSEGV));
    EXPECT_EQ(info.address, info.pc);
    auto start = reinterpret_cast<uint64_t>(&writeThroughNull);
    EXPECT_GE(info.pc, start);
    EXPECT_LT(info.pc, start + 256);

    // A stack overflow is reported too, from the alternate signal stack.
    child = runChild([](int fd) {
        resetToDefault(SIGSEGV);
        g_reportFd = fd;
        platform::installCrashHook(1, reportCrash);
        return recurse(0);
    });
    ASSERT_TRUE(WIFSIGNALED(child.status));
    EXPECT_EQ(WTERMSIG(child.status), SIGSEGV);
    EXPECT_EQ(infoFrom(child).code, static_cast<uint32_t>(SIGSEGV));
}

TEST(PlatformCrashHookTest, PreviousHandlersRunAfterTheCallback) {
    // Mode 2: an access violation that the program recovers from is still
    // reported first; a floating point signal is not the hook's business.
    ChildResult child = runChild([](int) {
        struct sigaction recover;
        memset(&recover, 0, sizeof recover);
        recover.sa_sigaction = recoveringHandler;
        recover.sa_flags = SA_SIGINFO;
        sigaction(SIGSEGV, &recover, nullptr);
        setHandler(SIGFPE, countingHandler);
        if (!platform::installCrashHook(2, countCrash))
            return 2;
        if (sigsetjmp(g_recover, 1) == 0)
            writeThroughNull();
        if (g_callbackRuns != 1 || g_previousRuns != 1)
            return 3;
        raise(SIGFPE);
        if (g_callbackRuns != 1 || g_previousRuns != 2)
            return 4;
        // Removal puts the recovering handler back in place.
        platform::removeCrashHook();
        struct sigaction now;
        sigaction(SIGSEGV, nullptr, &now);
        return now.sa_sigaction == recoveringHandler ? 0 : 5;
    });
    ASSERT_TRUE(WIFEXITED(child.status)) << child.status;
    EXPECT_EQ(WEXITSTATUS(child.status), 0);

    // Mode 1: a plain previous handler is called, an ignored signal stays
    // ignored, other modes install nothing.
    child = runChild([](int) {
        setHandler(SIGBUS, countingHandler);
        setHandler(SIGILL, SIG_IGN);
        if (platform::installCrashHook(3, countCrash))
            return 2;
        raise(SIGBUS);
        if (g_callbackRuns != 0 || g_previousRuns != 1)
            return 3;
        platform::installCrashHook(1, countCrash);
        raise(SIGBUS);
        raise(SIGILL);
        return g_callbackRuns == 2 && g_previousRuns == 2 ? 0 : 4;
    });
    ASSERT_TRUE(WIFEXITED(child.status)) << child.status;
    EXPECT_EQ(WEXITSTATUS(child.status), 0);
}

namespace {

void reportPureVirtual() { (void)!write(g_reportFd, "pure", 4); }

}  // namespace


TEST(PlatformCrashHookTest, PureVirtualCallRunsHandlerThenAborts) {
    ChildResult child = runChild([](int fd) {
        resetToDefault(SIGABRT);
        g_reportFd = fd;
        platform::setPureVirtualHandler(reportPureVirtual);
        pure_virtual_call::Derived d;
        return d.value() + 10;
    });
    ASSERT_TRUE(WIFSIGNALED(child.status)) << child.status;
    EXPECT_EQ(WTERMSIG(child.status), SIGABRT);
    EXPECT_EQ(child.output, "pure");
}
