#include "runtime/diag/stackWalk.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace stack_walk_test {

// The empty asm statements keep the calls out of tail position, so that
// every frame stays on the stack while it is walked.
__attribute__((noinline)) void helper(uint64_t* out) {
    captureStack(out);
    asm volatile("" ::: "memory");
}

__attribute__((noinline)) void outer(uint64_t* out) {
    helper(out);
    asm volatile("" ::: "memory");
}

// Walks a made-up frame chain. The program counter handed over is this
// function's return address, which the unwinder meets on the real stack when
// the walker starts over; it is returned for comparison.
__attribute__((noinline)) uint64_t walkFrom(const void* frame, uint64_t* out) {
    const auto pc = reinterpret_cast<uint64_t>(__builtin_return_address(0));
    walkStack(pc, reinterpret_cast<uint64_t>(frame), out);
    asm volatile("" ::: "memory");
    return pc;
}

}  // namespace stack_walk_test

namespace {

using stack_walk_test::walkFrom;

// A return address lies after its call instruction, inside the caller.
bool inside(uint64_t address, const void* function) {
    auto start = reinterpret_cast<uint64_t>(function);
    return address > start && address < start + 256;
}

int entries(const uint64_t* out) {
    int n = 0;
    while (n < kCapturedStackEntries && out[n] != 0)
        ++n;
    return n;
}

bool contains(const uint64_t* out, uint64_t value) {
    return std::find(out, out + entries(out), value) != out + entries(out);
}

void* captureOnFreshThread(void* arg) {
    stack_walk_test::helper(static_cast<uint64_t*>(arg));
    return nullptr;
}

// Room for made-up stack frames: word 0 of a frame holds the saved frame
// pointer, word 1 the return address.
alignas(16) unsigned char g_arena[2 * 65544 + 64];

void* frameAt(size_t offset) { return g_arena + offset; }

void setFrame(size_t offset, const void* saved, uint64_t returnAddress) {
    const auto savedWord = reinterpret_cast<uint64_t>(saved);
    memcpy(g_arena + offset, &savedWord, sizeof savedWord);
    memcpy(g_arena + offset + 8, &returnAddress, sizeof returnAddress);
}

}  // namespace

TEST(StackWalkTest, CaptureStartsAtTheCallerAndEndsWithZero) {
    EXPECT_EQ(debugHelpReady(), 1);
    EXPECT_EQ(debugHelpReady(), 1);  // loaded once, stays ready

    uint64_t out[kCapturedStackEntries + 1];
    out[kCapturedStackEntries] = 0xabcdef;
    stack_walk_test::outer(out);
    ASSERT_GE(entries(out), 2);
    EXPECT_TRUE(inside(out[0], reinterpret_cast<const void*>(&stack_walk_test::helper)));
    EXPECT_TRUE(inside(out[1], reinterpret_cast<const void*>(&stack_walk_test::outer)));
    EXPECT_EQ(out[kCapturedStackEntries], 0xabcdefu);  // never more than 16 entries

    // A fresh thread's stack is short: the capture ends with a 0 entry.
    std::fill(out, out + kCapturedStackEntries, 0xabcdef);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, nullptr, captureOnFreshThread, out), 0);
    pthread_join(thread, nullptr);
    const int n = entries(out);
    ASSERT_LT(n, kCapturedStackEntries);
    EXPECT_GE(n, 2);
    EXPECT_TRUE(inside(out[1], reinterpret_cast<const void*>(&captureOnFreshThread)));
}

TEST(StackWalkTest, FramePointerChainIsFollowedWhileItLooksSound) {
    uint64_t out[kCapturedStackEntries + 1];

    // Three frames going up, the last with a 0 saved frame pointer.
    setFrame(0, frameAt(64), 0x1001);
    setFrame(64, frameAt(128), 0x1002);
    setFrame(128, nullptr, 0x1003);
    walkFrom(frameAt(0), out);
    EXPECT_EQ(std::vector<uint64_t>(out, out + 4),
              (std::vector<uint64_t>{0x1001, 0x1002, 0x1003, 0}));

    // A step of exactly 65543 bytes is still a frame.
    setFrame(0, frameAt(65543), 0x2001);
    setFrame(65543, nullptr, 0x2002);
    walkFrom(frameAt(0), out);
    EXPECT_EQ(std::vector<uint64_t>(out, out + 3), (std::vector<uint64_t>{0x2001, 0x2002, 0}));

    // A longer chain fills 16 entries and stops without a terminator.
    for (size_t i = 0; i < 20; ++i)
        setFrame(i * 32, frameAt((i + 1) * 32), 0x3000 + i);
    setFrame(20 * 32, nullptr, 0x3020);
    out[kCapturedStackEntries] = 0xabcdef;
    walkFrom(frameAt(0), out);
    for (int i = 0; i < kCapturedStackEntries; ++i)
        EXPECT_EQ(out[i], 0x3000u + static_cast<uint64_t>(i));
    EXPECT_EQ(out[kCapturedStackEntries], 0xabcdefu);
}

TEST(StackWalkTest, UnsoundChainStartsOverWithTheUnwinder) {
    uint64_t out[kCapturedStackEntries];
    const long page = sysconf(_SC_PAGESIZE);
    void* noAccess =
        mmap(nullptr, static_cast<size_t>(page), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(noAccess, MAP_FAILED);

    struct Case {
        const char* what;
        const void* start;
    };
    // Each case begins with a frame whose return address is 0x4001 (or 0)
    // and leads to one with 0x4002; the full walk starts over from the
    // program counter and sees neither.
    const Case cases[] = {
        {"saved frame pointer below the frame", frameAt(65544 + 64)},
        {"saved frame pointer equal to the frame", frameAt(65544 + 128)},
        {"return address 0", frameAt(65544 + 192)},
        {"step of 65544 bytes", frameAt(0)},
        {"unreadable frame", noAccess},
        {"no frame at all", nullptr},
    };
    setFrame(65544 + 64, frameAt(65544), 0x4001);
    setFrame(65544 + 128, frameAt(65544 + 128), 0x4001);
    setFrame(65544 + 192, frameAt(65544 + 256), 0);
    setFrame(65544 + 256, nullptr, 0x4002);
    setFrame(0, frameAt(65544), 0x4001);
    setFrame(65544, nullptr, 0x4002);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const uint64_t pc = walkFrom(c.start, out);
        ASSERT_GE(entries(out), 2);
        EXPECT_EQ(out[0], pc);
        EXPECT_FALSE(contains(out, 0x4001));
        EXPECT_FALSE(contains(out, 0x4002));
    }

    // When the unwinder does not meet the program counter, the frames found
    // before the chain broke are what there is.
    walkStack(0x1234, reinterpret_cast<uint64_t>(frameAt(0)), out);
    EXPECT_EQ(std::vector<uint64_t>(out, out + 2), (std::vector<uint64_t>{0x4001, 0}));
    walkStack(0x1234, 0, out);
    EXPECT_EQ(out[0], 0u);
    munmap(noAccess, static_cast<size_t>(page));
}
