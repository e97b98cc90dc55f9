// The crash handler on Windows: each crash is a process of its own
// (crash_handler_child) started with the mode's QVDBG_EXCEPTIONHANDLER and
// "tmp" naming a scratch directory; the test reads the crash log it leaves
// and compares the way it ended with the same crash without the handler.
#include "support/hostProcess.h"
#include "support/testFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "crashLogParsing.h"

namespace {

namespace fs = std::filesystem;
using namespace crash_test;

constexpr uint32_t kAbortExitCode = 3;  // the C runtime's abort()

// How a child ended and what it printed about its code.
struct childRunS {
    uint32_t exitCode = 0;
    uint64_t codeStart = 0;  // address of writeThroughNull
    std::string codeBytes;   // its first 64 bytes as hex pairs
};

class CrashHandlerTest : public testing::Test {
protected:
    fs::path logPath() const { return dir_ / "qvdbgcrash.log"; }

    // Runs the child with the given hook ("none", "runtime" or a module
    // path); mode null leaves QVDBG_EXCEPTIONHANDLER unset.
    childRunS run(const char* how, const char* mode, const std::string& hook) const {
        std::vector<envChangeS> env{{"tmp", dir_.path.string()}, {"temp", std::nullopt},
                                    {"QVDBG_EXCEPTIONHANDLER", std::nullopt}};
        if (mode)
            env.back().value = mode;
        const commandResultS result = runProgram(CRASH_HANDLER_CHILD, {how, hook}, env);
        childRunS out;
        out.exitCode = static_cast<uint32_t>(result.status);
        std::istringstream printed(result.output);
        std::string word, start;
        if (printed >> word >> start >> out.codeBytes && word == "code")
            out.codeStart = std::stoull(start, nullptr, 16);
        return out;
    }

    // The log's entries, then a fresh log for the next case.
    std::vector<std::vector<std::string>> takeEntries() const {
        auto entries = entriesOf(readFile(logPath()));
        fs::remove(logPath());
        return entries;
    }

    // Checks that the crash ends the child with the same exit code as
    // without the handler, and that code, and returns the entries it left.
    std::vector<std::vector<std::string>> crashLikeWithout(const char* how, const char* mode,
                                                           uint32_t exitCode,
                                                           const std::string& hook = "runtime") {
        const childRunS without = run(how, mode, "none");
        EXPECT_TRUE(takeEntries().empty());
        const childRunS with = run(how, mode, hook);
        EXPECT_EQ(with.exitCode, without.exitCode);
        // Wine's default for a crash is to start its debugger, which ends
        // the process with 0; a prefix for these tests sets the AeDebug key's
        // "Debugger" to an empty value, so that the crash ends it as Windows
        // ends a process without a debugger.
        EXPECT_EQ(with.exitCode, exitCode)
            << std::hex << with.exitCode << (with.exitCode == 0 ? " (a debugger took over)" : "");
        last_ = with;
        return takeEntries();
    }

    // One entry with the given first line pattern, frame lines in the
    // log's format and at least one frame of the child's source.
    static void expectOneEntry(const std::vector<std::vector<std::string>>& entries,
                               const std::string& firstLine) {
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_TRUE(std::regex_match(entries[0][0], std::regex(firstLine))) << entries[0][0];
        EXPECT_LE(entries[0].size(), 17u);
        int ours = 0;
        for (size_t i = 1; i < entries[0].size(); ++i) {
            const std::optional<FrameLine> frame = parseFrameLine(entries[0][i]);
            EXPECT_TRUE(frame) << entries[0][i];
            ours += frame && fs::path(frame->file).filename() == "crashHandlerChild.cpp";
        }
        EXPECT_GE(ours, 1) << "no frame of crashHandlerChild.cpp";
    }

    // The logged location lies in writeThroughNull and its code bytes are
    // the 8 bytes there.
    void expectLocationInNullWrite(const std::vector<std::string>& entry) const {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(entry[0], m,
                                     std::regex("Location ([0-9a-f]+), Code c0000005 SEQ:(.*)")))
            << entry[0];
        ASSERT_NE(last_.codeStart, 0u);
        const uint64_t location =
            (last_.codeStart & ~0xffffffffull) | std::stoull(m[1], nullptr, 16);
        ASSERT_GE(location, last_.codeStart);
        ASSERT_LE(location, last_.codeStart + 56);  // 8 bytes within the 64 printed
        const size_t offset = static_cast<size_t>(location - last_.codeStart) * 2;
        EXPECT_EQ(m[2], last_.codeBytes.substr(offset, 16));
    }

    const scratchDirS dir_{"crashlog"};
    childRunS last_;
};

TEST_F(CrashHandlerTest, UnhandledExceptionsAreLoggedOnceAndStillEndTheProcess) {
    for (const char* mode : {static_cast<const char*>(nullptr), "0", "1"}) {
        SCOPED_TRACE(mode ? mode : "unset");
        const auto entries = crashLikeWithout("null-write", mode, EXCEPTION_ACCESS_VIOLATION);
        expectOneEntry(entries, locationLine(EXCEPTION_ACCESS_VIOLATION));
        if (!entries.empty())
            expectLocationInNullWrite(entries[0]);
    }
    expectOneEntry(crashLikeWithout("divide", nullptr, EXCEPTION_INT_DIVIDE_BY_ZERO),
                   locationLine(EXCEPTION_INT_DIVIDE_BY_ZERO));
    // The C runtime's abort ends the process without an exception: there is
    // nothing for the filter to see.
    EXPECT_TRUE(crashLikeWithout("abort", nullptr, kAbortExitCode).empty());
    expectOneEntry(crashLikeWithout("pure-virtual", nullptr, kAbortExitCode), "Location Unknown");
}

TEST_F(CrashHandlerTest, ModeTwoLogsAccessViolationsAtFirstNotice) {
    // The program recovers from the access violation with its own handler,
    // then dies of a division by zero that mode 2 does not log.
    const auto entries =
        crashLikeWithout("recover-then-divide", "2", EXCEPTION_INT_DIVIDE_BY_ZERO);
    expectOneEntry(entries, locationLine(EXCEPTION_ACCESS_VIOLATION));
    if (!entries.empty())
        expectLocationInNullWrite(entries[0]);
    expectOneEntry(crashLikeWithout("null-write", "2", EXCEPTION_ACCESS_VIOLATION),
                   locationLine(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(CrashHandlerTest, OtherModesLogOnlyPureVirtualCalls) {
    for (const char* mode : {"3", "-1"}) {
        SCOPED_TRACE(mode);
        EXPECT_TRUE(crashLikeWithout("null-write", mode, EXCEPTION_ACCESS_VIOLATION).empty());
        EXPECT_TRUE(crashLikeWithout("divide", mode, EXCEPTION_INT_DIVIDE_BY_ZERO).empty());
        expectOneEntry(crashLikeWithout("pure-virtual", mode, kAbortExitCode), "Location Unknown");
    }
}

TEST_F(CrashHandlerTest, TheModuleHooksTheHostProcess) {
    // Loading the module is enough: its start-up installs the handler,
    // which logs the host's own crash.
    const auto entries = crashLikeWithout("null-write", nullptr, EXCEPTION_ACCESS_VIOLATION,
                                          U3DPDF_MODULE_PATH);
    expectOneEntry(entries, locationLine(EXCEPTION_ACCESS_VIOLATION));
    if (!entries.empty())
        expectLocationInNullWrite(entries[0]);
}

}  // namespace
