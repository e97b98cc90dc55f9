#include "runtime/platform/platform.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::atomic<int> g_steps{0};

void stepForever(void*) {
    for (;;) {
        ++g_steps;
        usleep(10000);
    }
}

void stepOnce(void*) { ++g_steps; }

// Far more stack than the thread below has.
void useLotsOfStack(void*) {
    volatile char big[400 * 1024];
    big[0] = 1;
    big[sizeof big - 1] = 2;
    g_steps += big[0] + big[sizeof big - 1];
}

void* watchOnSmallStack(void*) {
    return reinterpret_cast<void*>(platform::runGuarded(useLotsOfStack, nullptr, 5) ? 1 : 0);
}

void ownAlarm(int) {}

}  // namespace

TEST(PlatformGuardedRunTest, CutsOffWorkThatDoesNotEndAndRestoresTheAlarm) {
    platform::reserveGuardedStack();
    struct sigaction own = {};
    own.sa_handler = ownAlarm;
    struct sigaction before = {};
    ASSERT_EQ(sigaction(SIGALRM, &own, &before), 0);
    alarm(100);

    EXPECT_TRUE(platform::runGuarded(stepOnce, nullptr, 1));
    EXPECT_EQ(g_steps, 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(platform::runGuarded(stepForever, nullptr, 1));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::seconds(3));
    EXPECT_GT(g_steps, 10);

    struct sigaction now = {};
    sigaction(SIGALRM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, &ownAlarm);
    const unsigned left = alarm(0);
    EXPECT_GE(left, 98u);
    EXPECT_LE(left, 100u);
    sigaction(SIGALRM, &before, nullptr);

    // The work has a stack of its own: a thread with a small one can run
    // work that needs a big one.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 128 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, watchOnSmallStack, nullptr), 0);
    void* finished = nullptr;
    pthread_join(thread, &finished);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(finished, reinterpret_cast<void*>(1));
    platform::releaseGuardedStack();
}
