#include "runtime/diag/codeTrack.h"
#include "runtime/diag/codeTrackC.h"
#include "runtime/platform/platform.h"
#include "support/scratchEnvironment.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Every case starts from a stopped log, none of the log's variables set and
// an empty directory that TMP points to; the log is started by the case
// itself after it has set the environment it needs.
class CodeTrackTest : public scratchEnvironmentTest {
protected:
    CodeTrackTest()
        : scratchEnvironmentTest({"temp", "tmp", "TEMP", "TMP", "QVCODETRACK", "QVCODETRACK_FLUSH"}, "TMP") {}

    void SetUp() override {
        codeTrackShutdown();
        scratchEnvironmentTest::SetUp();
    }
    void TearDown() override {
        codeTrackShutdown();
        scratchEnvironmentTest::TearDown();
    }

    static std::string fileName() {
        return "codetrack." + std::to_string(platform::threadId()) + ".runtime_diag_tests.txt";
    }
    std::string logFile() const { return dir_ + "/" + fileName(); }

    static std::vector<std::string> readLines(const std::string& path) { return textLines(readFile(path)); }
    std::vector<std::string> lines() const { return readLines(logFile()); }
};

// The part of a line after its line number: kind text and message.
std::string tail(const std::string& line) {
    size_t p = line.find(';');
    for (int i = 0; i < 4 && p != std::string::npos; ++i)
        p = line.find(';', p + 1);
    return p == std::string::npos ? "<no tail>" : line.substr(p + 1);
}

std::vector<std::string> tails(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines)
        out.push_back(tail(l));
    return out;
}

int secondOfDay(const platform::LocalTime& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

}  // namespace

TEST_F(CodeTrackTest, LineFormat) {
    codeTrackStartup();
    const uint64_t before = platform::counter();
    const platform::LocalTime startTime = platform::toLocalTime(platform::wallClock());
    codeTrackMessage("src/driver.cpp", 162, "START Try Block");
    codeTrackPoint("src/driver.cpp", 163);
    EXPECT_EQ(codeTrackCond("src/driver.cpp", 164, -5), -5);
    {
        codeTrackFrameGuardC frame("src/outer.cpp", 10, "convertMetaTree(data, fncPointer)");
        codeTrackFrameGuardC inner("src/inner.cpp", 20, nullptr);
        codeTrackMessage("src/inner.cpp", 21, "");
        codeTrackFnc("src/fnc.cpp", 30, 0);
        codeTrackFnc("src/fnc.cpp", 31, 1);
        codeTrackFncValue("src/fnc.cpp", 32, 1, 3);
        codeTrackFncValue(nullptr, 33, 0, 9);
    }
    uint32_t otherThread = 0;
    std::thread([&] {
        otherThread = platform::threadId();
        codeTrackMessage("src/thread.cpp", 40, "other");
    }).join();
    codeTrackException("src/driver.cpp", 200);
    const uint64_t after = platform::counter();
    const platform::LocalTime endTime = platform::toLocalTime(platform::wallClock());

    const std::vector<std::string> expected = {
        "(START Try Block)",
        "",
        "Cond=-5",
        "Frame Enter(convertMetaTree(data, fncPointer))",
        "Frame Enter",
        "",
        "Enter Fnc",
        "Done Fnc (0)",
        "Done Fnc (3)",
        "Enter Fnc",
        "Frame Leave",
        "Frame Leave(convertMetaTree(data, fncPointer))",
        "(other)",
        "Exception",
    };
    const std::vector<std::string> got = lines();
    ASSERT_EQ(tails(got), expected);

    // counter (upper then lower half); h:m:s:ms; thread; file; line; tail.
    const std::regex format(
        "(0|[1-9][0-9]*);(0|[1-9][0-9]?):(0|[1-9][0-9]?):(0|[1-9][0-9]?):(0|[1-9][0-9]{0,2});"
        "([1-9][0-9]*);([^;]*);(0|[1-9][0-9]*);.*");
    const std::vector<std::string> files = {
        "src/driver.cpp", "src/driver.cpp", "src/driver.cpp", "src/outer.cpp", "src/inner.cpp",
        "src/inner.cpp",  "src/fnc.cpp",    "src/fnc.cpp",    "src/fnc.cpp",   "",
        "src/inner.cpp",  "src/outer.cpp",  "src/thread.cpp", "src/driver.cpp"};
    const std::vector<int> lineNumbers = {162, 163, 164, 10, 20, 21, 30, 31, 32, 33, 20, 10, 40, 200};
    for (size_t i = 0; i < got.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(got[i], m, format)) << got[i];
        // The counter halves are printed back to back; the upper half only
        // changes every 4.3 seconds, so it is one of the two around the run.
        const std::string counter = m[1];
        bool upperMatches = false;
        for (uint64_t c : {before, after}) {
            const std::string upper = std::to_string(c >> 32);
            if (counter.compare(0, upper.size(), upper) == 0 && counter.size() > upper.size() &&
                std::stoull(counter.substr(upper.size())) <= 0xffffffffull)
                upperMatches = true;
        }
        EXPECT_TRUE(upperMatches) << counter;
        platform::LocalTime t{std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])};
        if (secondOfDay(endTime) >= secondOfDay(startTime)) {  // not across midnight
            EXPECT_GE(secondOfDay(t), secondOfDay(startTime));
            EXPECT_LE(secondOfDay(t), secondOfDay(endTime));
        }
        const uint32_t thread = i == 12 ? otherThread : platform::threadId();
        EXPECT_EQ(m[6], std::to_string(thread));
        EXPECT_EQ(m[7], files[i]);
        EXPECT_EQ(m[8], std::to_string(lineNumbers[i]));
    }

    // A function-done record that carries a message as well.
    auto log = std::make_unique<codeTrackC>();
    const std::string own = dir_ + "/own.txt";
    log->setPath(own.c_str());
    log->record(CT_FNC_DONE, "f.cpp", 7, "x", 3);
    log->write(false);
    EXPECT_EQ(tails(readLines(own)), std::vector<std::string>{"Done Fnc (3)(x)"});
    EXPECT_STREQ(log->logPath().text(), own.c_str());
}

TEST_F(CodeTrackTest, WritesNothingUntilAnExceptionThenTheLastRecordsOldestFirst) {
    codeTrackStartup();
    for (int i = 1; i <= 10005; ++i)
        codeTrackMessage("a.cpp", i, nullptr);
    codeTrackFlush();  // forced, not switched on: these records go, no later ones
    EXPECT_EQ(lines().size(), 10000u);
    fs::remove(logFile());

    codeTrackMessage("a.cpp", 1, "lost");
    codeTrackShutdown();
    EXPECT_FALSE(fs::exists(logFile()));

    codeTrackStartup();
    for (int i = 1; i <= 10005; ++i)
        codeTrackMessage("a.cpp", i, nullptr);
    codeTrackException("a.cpp", 99999);
    std::vector<std::string> got = lines();
    // 10006 records in a ring of 10000: the first six are gone.
    ASSERT_EQ(got.size(), 10000u);
    for (size_t i = 0; i + 1 < got.size(); ++i)
        ASSERT_NE(got[i].find(";a.cpp;" + std::to_string(i + 7) + ";"), std::string::npos) << got[i];
    EXPECT_EQ(tail(got.back()), "Exception");

    // The exception switched the file on for good, also at shutdown.
    codeTrackMessage("a.cpp", 5, "after");
    codeTrackShutdown();
    got = lines();
    ASSERT_EQ(got.size(), 10001u);
    EXPECT_EQ(tail(got.back()), "(after)");
}

TEST_F(CodeTrackTest, SwitchedOnItWritesAtEveryWrapAndAtShutdown) {
    setenv("QVCODETRACK", "0", 1);
    codeTrackStartup();
    for (int i = 1; i <= 10001; ++i)
        codeTrackPoint("b.cpp", i);
    codeTrackShutdown();
    EXPECT_FALSE(fs::exists(logFile()));

    setenv("QVCODETRACK", "1", 1);
    codeTrackStartup();
    for (int i = 1; i <= 9999; ++i)
        codeTrackPoint("b.cpp", i);
    EXPECT_FALSE(fs::exists(logFile()));
    codeTrackPoint("b.cpp", 10000);
    // The 10000th record writes the 9999 before it and waits in the ring.
    EXPECT_EQ(lines().size(), 9999u);
    for (int i = 10001; i <= 20001; ++i)
        codeTrackPoint("b.cpp", i);
    EXPECT_EQ(lines().size(), 19999u);
    codeTrackShutdown();
    const std::vector<std::string> got = lines();
    ASSERT_EQ(got.size(), 20001u);
    // Every record once, in the order it was made, across both wraps.
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_NE(got[i].find(";b.cpp;" + std::to_string(i + 1) + ";"), std::string::npos)
            << "line " << i << ": " << got[i];
}

TEST_F(CodeTrackTest, AutoFlushWritesEachRecordAtOnce) {
    setenv("QVCODETRACK_FLUSH", "", 1);
    codeTrackStartup();
    codeTrackMessage("c.cpp", 1, "one");
    EXPECT_EQ(tails(lines()), std::vector<std::string>{"(one)"});
    codeTrackCond("c.cpp", 2, 7);
    codeTrackFrameEnter("c.cpp", 3, "frame");
    codeTrackFrameLeave();
    EXPECT_EQ(tails(lines()), (std::vector<std::string>{"(one)", "Cond=7", "Frame Enter(frame)",
                                                        "Frame Leave(frame)"}));
    codeTrackShutdown();
    EXPECT_EQ(lines().size(), 4u);
}

TEST_F(CodeTrackTest, LogPathRules) {
    codeTrackStartup();
    EXPECT_STREQ(codeTrackGetPath(), "");  // nothing written yet

    // The first non-empty of temp, tmp, TEMP, TMP; a trailing backslash is
    // taken as a separator.
    fs::create_directory(dir_ + "/t");
    setenv("tmp", (dir_ + "/t\\").c_str(), 1);
    setenv("temp", "", 1);
    codeTrackFlush();
    EXPECT_EQ(std::string(codeTrackGetPath()), dir_ + "/t\\" + fileName());
    EXPECT_TRUE(fs::exists(dir_ + "/t\\" + fileName()));
    setenv("temp", (dir_ + "/t/").c_str(), 1);
    codeTrackFlush();
    EXPECT_EQ(std::string(codeTrackGetPath()), dir_ + "/t/" + fileName());

    // A configured path is used as it is, and switches the file on.
    const std::string configured = dir_ + "/configured.log";
    codeTrackSetPath(configured.c_str());
    codeTrackMessage("d.cpp", 1, "kept");
    codeTrackShutdown();
    EXPECT_EQ(tails(readLines(configured)), std::vector<std::string>{"(kept)"});

    // With no directory variable the platform's default directory holds it.
    unsetenv("temp");
    unsetenv("tmp");
    unsetenv("TMP");
    codeTrackStartup();
    codeTrackFlush();
    const std::string fallback = std::string(platform::defaultTempDirectory()) + "/" + fileName();
    EXPECT_EQ(std::string(codeTrackGetPath()), fallback);
    EXPECT_TRUE(fs::exists(fallback));
    fs::remove(fallback);
}

TEST_F(CodeTrackTest, StoppedLogAndUnpairedFrames) {
    // Before start-up nothing is recorded and no path is known.
    EXPECT_EQ(codeTrackGetPath(), nullptr);
    EXPECT_EQ(codeTrackCond("e.cpp", 1, 42), 42);
    codeTrackFrameLeave();
    codeTrackException("e.cpp", 2);
    EXPECT_FALSE(fs::exists(logFile()));

    codeTrackStartup();
    codeTrackFrameEnter("e.cpp", 10, "outer");
    codeTrackFrameEnter("e.cpp", 11, "inner");
    codeTrackFrameLeave();
    codeTrackFrameLeave();
    codeTrackFrameLeave();  // no frame open: logged without frame data
    codeTrackFlush();
    EXPECT_EQ(tails(lines()), (std::vector<std::string>{"Frame Enter(outer)", "Frame Enter(inner)",
                                                        "Frame Leave(inner)", "Frame Leave(outer)",
                                                        "Frame Leave"}));
    EXPECT_NE(lines().back().find(";;0;Frame Leave"), std::string::npos);
}
