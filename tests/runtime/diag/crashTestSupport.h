// What the crash handler tests share: a fresh directory that "tmp" names,
// reading the crash log back, the frame line pattern, and a forked child with
// a deadline for the cases that really crash.
#pragma once

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
class CrashLogDirTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"tmp", "temp", "QVDBG_EXCEPTIONHANDLER"}) {
            const char* value = getenv(v);
            saved_.emplace_back(v, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(v);
        }
        char pattern[] = "/tmp/crashlog_test_XXXXXX";
        dir_ = mkdtemp(pattern);
        setenv("tmp", dir_.c_str(), 1);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        for (auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    std::string logPath() const { return dir_ + "/qvdbgcrash.log"; }
    std::string log() const { return readFile(logPath()); }

    static std::string readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    std::string dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// The entries of a log, each a list of lines without their line ends; an
// entry starts with its "Location" line.
inline std::vector<std::vector<std::string>> entriesOf(const std::string& log) {
    std::vector<std::vector<std::string>> entries;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Location ", 0) == 0 || entries.empty())
            entries.emplace_back();
        entries.back().push_back(line);
    }
    return entries;
}

struct FrameLine {
    std::string file;
    int line = 0;
    std::string symbol;
    uint32_t address = 0;
    std::string module;
    std::string seq;
};

// "%s(%d) : %s (%0x Modul: %s) SEQ: %s"
inline std::optional<FrameLine> parseFrameLine(const std::string& text) {
    static const std::regex pattern(
        R"(^(.*)\((-?[0-9]+)\) : (.*) )"
        R"(\(([0-9a-f]{1,8}) Modul: (.*)\) SEQ: ((?:[0-9a-f]{2}){0,8})$)");
    std::smatch m;
    if (!std::regex_match(text, m, pattern))
        return std::nullopt;
    return FrameLine{m[1], std::stoi(m[2]),
                     m[3], static_cast<uint32_t>(std::stoul(m[4], nullptr, 16)),
                     m[5], m[6]};
}

// Whether a frame line names the given source file.
inline bool namesFile(const std::string& line, const char* file) {
    return line.rfind(std::string(file) + "(", 0) == 0;
}

// The n bytes at address as "%02x" pairs.
inline std::string hexBytes(uint64_t address, size_t n) {
    std::string out;
    char pair[3];
    for (size_t i = 0; i < n; ++i) {
        snprintf(pair, sizeof pair, "%02x", reinterpret_cast<const unsigned char*>(address)[i]);
        out += pair;
    }
    return out;
}

inline std::string hex32(uint64_t value) {
    char text[16];
    snprintf(text, sizeof text, "%x", static_cast<unsigned>(value & 0xffffffffu));
    return text;
}

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
