// Reading the crash log back, on every platform: its entries, the frame
// line format and the code bytes that the lines carry.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace crash_test {

// The entries of a log, each a list of lines without their line ends (LF,
// or CR LF where the log is a text-mode file of Windows); an entry starts
// with its "Location" line.
inline std::vector<std::vector<std::string>> entriesOf(const std::string& log) {
    std::vector<std::vector<std::string>> entries;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
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

// The first line of an entry with exception information, as a pattern:
// "Location <address>, Code <code> SEQ:<16 digits>".
inline std::string locationLine(uint32_t code) {
    char hex[16];
    snprintf(hex, sizeof hex, "%x", code);
    return "Location [0-9a-f]+, Code " + std::string(hex) + " SEQ:[0-9a-f]{16}";
}

inline std::string hex32(uint64_t value) {
    char text[16];
    snprintf(text, sizeof text, "%x", static_cast<unsigned>(value & 0xffffffffu));
    return text;
}

}  // namespace crash_test
