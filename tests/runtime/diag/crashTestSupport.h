// What the POSIX crash handler tests share: a fresh directory that "tmp"
// names, reading the crash log back, and a forked child with a deadline for
// the cases that really crash. The log's format is read by crashLogParsing.h.
#pragma once

#include "crashLogParsing.h"
#include "support/scratchEnvironment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace crash_test {

// Every case starts with "tmp" naming an empty directory of its own and
// "temp" and QVDBG_EXCEPTIONHANDLER unset; all three are restored after it.
class CrashLogDirTest : public scratchEnvironmentTest {
protected:
    CrashLogDirTest() : scratchEnvironmentTest({"tmp", "temp", "QVDBG_EXCEPTIONHANDLER"}, "tmp") {}

    std::string logPath() const { return dir_ + "/qvdbgcrash.log"; }
    std::string log() const { return readFile(logPath()); }
};

inline std::string executablePath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// Runs body() in a forked child that leaves with _exit(body's result) if it
// returns. Returns its wait status, or nothing when it had to be killed
// because it did not end within the deadline.
template <typename Body>
std::optional<int> runChild(Body body, std::chrono::seconds deadline = std::chrono::seconds(60)) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status;
}

}  // namespace crash_test
