#include "runtime/platform/platform.h"

#include <gnu/libc-version.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "childProcess.h"

namespace {

std::string executablePath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// Restores TZ after a test that pins it.
struct TimeZoneScope {
    std::string saved;
    bool had;
    explicit TimeZoneScope(const char* tz) {
        const char* old = getenv("TZ");
        had = old != nullptr;
        if (had)
            saved = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TimeZoneScope() {
        if (had)
            setenv("TZ", saved.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
};

}  // namespace

TEST(PlatformClockTest, CounterAndWallClockMoveWithRealTime) {
    EXPECT_EQ(platform::counterFrequency(), 1000000000u);
    uint64_t c0 = platform::counter();
    uint64_t w0 = platform::wallClock();
    usleep(20000);
    uint64_t c1 = platform::counter();
    uint64_t w1 = platform::wallClock();
    EXPECT_GE(c1 - c0, 20000000u);
    EXPECT_LT(c1 - c0, 5000000000u);
    EXPECT_GE(w1 - w0, 150000u);  // 100-ns units; the wall clock may be adjusted slightly
    // 100-ns units since the Unix epoch.
    int64_t diff = static_cast<int64_t>(w1 / 10000000) - static_cast<int64_t>(time(nullptr));
    EXPECT_LE(diff < 0 ? -diff : diff, 1);
}

TEST(PlatformClockTest, LocalTimeSplitsHoursToMilliseconds) {
    // 2021-01-01 14:03:27.0859999 UTC: milliseconds are truncated, not rounded.
    const uint64_t seconds = 1609459200ull + 14 * 3600 + 3 * 60 + 27;
    const uint64_t value = seconds * 10000000ull + 859999;
    {
        TimeZoneScope utc("UTC0");
        platform::LocalTime t = platform::toLocalTime(value);
        EXPECT_EQ(t.hour, 14);
        EXPECT_EQ(t.minute, 3);
        EXPECT_EQ(t.second, 27);
        EXPECT_EQ(t.millisecond, 85);
    }
    {
        // Local means the process's time zone: five hours west of UTC.
        TimeZoneScope west("XST5");
        EXPECT_EQ(platform::toLocalTime(value).hour, 9);
    }
}

TEST(PlatformIdentityTest, ThreadAndProcessIds) {
    EXPECT_EQ(platform::processId(), static_cast<uint32_t>(getpid()));
    // Tests run on the main thread, whose thread id is the process id.
    EXPECT_EQ(platform::threadId(), platform::processId());
    uint32_t other = 0;
    std::thread([&] { other = platform::threadId(); }).join();
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, platform::threadId());
}

TEST(PlatformIdentityTest, ProcessStartTimeIsStableAndPerProcess) {
    uint64_t start = platform::processStartTime();
    EXPECT_EQ(platform::processStartTime(), start);
    uint64_t now = platform::wallClock();
    EXPECT_LE(start, now + 10000000);  // allow the tick rounding of /proc
    EXPECT_GT(start, now - 36000000000ull);  // started within the last hour
    // A child forked well after this process started must report its own
    // start, although its parent's value was already computed.
    usleep(50000);
    ChildResult child = runChild([](int fd) {
        uint64_t value = platform::processStartTime();
        return write(fd, &value, sizeof value) == sizeof value ? 0 : 1;
    });
    ASSERT_EQ(child.output.size(), sizeof(uint64_t));
    uint64_t childStart;
    memcpy(&childStart, child.output.data(), sizeof childStart);
    EXPECT_GT(childStart, start);
}

TEST(PlatformModulesTest, NamesTheModuleHoldingAnAddress) {
    const std::string exe = executablePath();
    ASSERT_FALSE(exe.empty());
    char buf[4096];
    auto* self = reinterpret_cast<const void*>(&executablePath);
    ASSERT_TRUE(platform::modulePath(self, buf, sizeof buf));
    EXPECT_EQ(std::string(buf), exe);
    ASSERT_TRUE(platform::moduleFileName(self, buf, sizeof buf));
    EXPECT_EQ(std::string(buf), exe.substr(exe.rfind('/') + 1));

    // A function only the C library has (a sanitizer replaces many others).
    ASSERT_TRUE(platform::moduleFileName(reinterpret_cast<const void*>(&gnu_get_libc_version),
                                         buf, sizeof buf));
    EXPECT_EQ(std::string(buf).rfind("libc.so", 0), 0u) << buf;

    // Too small a buffer, or an address in no module.
    const size_t nameLen = exe.size() - exe.rfind('/') - 1;
    EXPECT_FALSE(platform::moduleFileName(self, buf, nameLen));
    EXPECT_TRUE(platform::moduleFileName(self, buf, nameLen + 1));
    int onStack = 0;
    EXPECT_FALSE(platform::moduleFileName(&onStack, buf, sizeof buf));
}

TEST(PlatformFilesTest, CanReadAndEnvironment) {
    EXPECT_TRUE(platform::canRead(executablePath().c_str()));
    EXPECT_FALSE(platform::canRead("/nonexistent/u3dpdf/file"));
    EXPECT_FALSE(platform::canRead(nullptr));

    const char* name = "U3DPDF_PLATFORM_TEST_VAR";
    platform::setEnv(name, "value 1");
    ASSERT_NE(platform::getEnv(name), nullptr);
    EXPECT_STREQ(platform::getEnv(name), "value 1");
    platform::setEnv(name, "");
    EXPECT_STREQ(platform::getEnv(name), "");
    platform::setEnv(name, nullptr);
    EXPECT_EQ(platform::getEnv(name), nullptr);
}

TEST(PlatformFilesTest, AppendToFileAddsBytesAndCreatesTheFile) {
    char dir[] = "/tmp/platform_append_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/log.txt";
    EXPECT_TRUE(platform::appendToFile(path.c_str(), "one\n", 4));
    EXPECT_TRUE(platform::appendToFile(path.c_str(), "two\0x", 5));  // bytes, not text
    EXPECT_TRUE(platform::appendToFile(path.c_str(), "", 0));
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[32];
    const size_t n = fread(buf, 1, sizeof buf, f);
    fclose(f);
    EXPECT_EQ(std::string(buf, n), std::string("one\ntwo\0x", 9));
    EXPECT_FALSE(platform::appendToFile((std::string(dir) + "/no/such/dir").c_str(), "x", 1));
    EXPECT_FALSE(platform::appendToFile(nullptr, "x", 1));
    remove(path.c_str());
    rmdir(dir);
}

TEST(PlatformClockTest, SleepWaitsAtLeastTheTimeGiven) {
    const uint64_t start = platform::counter();
    platform::sleepMilliseconds(30);
    EXPECT_GE(platform::counter() - start, 30000000u);
    const uint64_t again = platform::counter();
    platform::sleepMilliseconds(0);
    platform::sleepMilliseconds(-5);
    EXPECT_LT(platform::counter() - again, 20000000u);
}

TEST(PlatformOutputTest, DebugOutputWritesToStandardError) {
    ChildResult child = runChild([](int fd) {
        dup2(fd, STDERR_FILENO);
        platform::debugOutput("report line\n");
        platform::debugOutput(nullptr);
        return 0;
    });
    EXPECT_EQ(child.output, "report line\n");
}
