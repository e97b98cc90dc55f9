#include "runtime/platform/platform.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <string>

namespace stack_test {

// The call chain the capture is checked against: outer -> helper ->
// captureStack. The empty asm statements keep the calls out of tail position,
// so that every frame really stays on the stack.
__attribute__((noinline)) int helper(uint64_t* out, int max, int skip) {
    int n = platform::captureStack(out, max, skip);
    asm volatile("" ::: "memory");
    return n;
}

const int kOuterFirstLine = __LINE__ + 1;
__attribute__((noinline)) int outer(uint64_t* out, int max, int skip) {
    int n = helper(out, max, skip);
    asm volatile("" ::: "memory");
    return n;
}
const int kOuterLastLine = __LINE__ - 1;

__attribute__((noinline)) int outermost(uint64_t* out, int max, int skip) {
    int n = outer(out, max, skip);
    asm volatile("" ::: "memory");
    return n;
}

}  // namespace stack_test

namespace {

std::string executablePath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A return address lies after the call instruction, inside the function.
bool inside(uint64_t address, const void* function, uint64_t maxSize) {
    auto start = reinterpret_cast<uint64_t>(function);
    return address > start && address < start + maxSize;
}

void* captureOnFreshThread(void* arg) {
    auto* out = static_cast<uint64_t*>(arg);
    stack_test::helper(out, platform::kStackDepth, 0);
    return nullptr;
}

}  // namespace

TEST(PlatformStackTest, CaptureStartsAtTheCallerOfTheCallingFunction) {
    uint64_t out[platform::kStackDepth + 1];
    int n = stack_test::outermost(out, platform::kStackDepth, 0);
    ASSERT_GE(n, 2);
    EXPECT_TRUE(inside(out[0], reinterpret_cast<const void*>(&stack_test::outer), 256));
    EXPECT_TRUE(inside(out[1], reinterpret_cast<const void*>(&stack_test::outermost), 256));

    // skip drops further frames; max bounds the capture, without terminator
    // when it is full.
    n = stack_test::outermost(out, platform::kStackDepth, 1);
    ASSERT_GE(n, 1);
    EXPECT_TRUE(inside(out[0], reinterpret_cast<const void*>(&stack_test::outermost), 256));
    out[1] = 0xabcdef;
    EXPECT_EQ(stack_test::outermost(out, 1, 0), 1);
    EXPECT_EQ(out[1], 0xabcdefu);
}

TEST(PlatformStackTest, ShortCaptureEndsWithZero) {
    // A fresh thread's stack holds only a few frames below the helper.
    uint64_t out[platform::kStackDepth + 1];
    for (uint64_t& v : out)
        v = 0xabcdef;
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, nullptr, captureOnFreshThread, out), 0);
    pthread_join(thread, nullptr);
    int n = 0;
    while (n < platform::kStackDepth && out[n] != 0)
        ++n;
    ASSERT_LT(n, platform::kStackDepth);
    EXPECT_GE(n, 1);
    EXPECT_TRUE(inside(out[0], reinterpret_cast<const void*>(&captureOnFreshThread), 256));
}

TEST(PlatformSymbolsTest, ResolvesFunctionFileLineAndModule) {
    ASSERT_TRUE(platform::symbolizerReady());
    ASSERT_TRUE(platform::symbolizerReady());  // loads once, stays ready

    platform::FrameInfo info;
    ASSERT_TRUE(platform::symbolize(reinterpret_cast<uint64_t>(&stack_test::outer), info));
    EXPECT_EQ(std::string(info.symbol), "stack_test::outer(unsigned long*, int, int)");
    EXPECT_TRUE(endsWith(info.file, "/tests/runtime/platform/stackTest.cpp")) << info.file;
    EXPECT_GE(info.line, stack_test::kOuterFirstLine) << info.line;
    EXPECT_LE(info.line, stack_test::kOuterLastLine) << info.line;
    EXPECT_EQ(std::string(info.module), executablePath());
    EXPECT_NE(info.moduleBase, 0u);
    EXPECT_LE(info.moduleBase, reinterpret_cast<uint64_t>(&stack_test::outer));

    // The byte before a captured return address is part of the call, so it
    // resolves to the line of the call.
    uint64_t out[platform::kStackDepth + 1];
    ASSERT_GE(stack_test::outermost(out, platform::kStackDepth, 0), 1);
    ASSERT_TRUE(platform::symbolize(out[0] - 1, info));
    EXPECT_EQ(std::string(info.symbol), "stack_test::outer(unsigned long*, int, int)");
    EXPECT_EQ(info.line, stack_test::kOuterFirstLine + 1);

    // Other modules are known as well; an address in none is left empty.
    ASSERT_TRUE(platform::symbolize(reinterpret_cast<uint64_t>(&getpid), info));
    EXPECT_NE(std::string(info.module).find("libc.so"), std::string::npos) << info.module;
    EXPECT_NE(std::string(info.symbol).find("getpid"), std::string::npos) << info.symbol;
    int onStack = 0;
    ASSERT_TRUE(platform::symbolize(reinterpret_cast<uint64_t>(&onStack), info));
    EXPECT_STREQ(info.symbol, "");
    EXPECT_STREQ(info.module, "");
    EXPECT_EQ(info.line, 0);
}
