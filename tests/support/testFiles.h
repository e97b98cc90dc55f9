// Files in tests: scratch directories, the test data, whole files read and
// written, text split into lines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty directory of this process below the system's temporary
// directory, removed with everything in it at the end of its scope. A
// directory that cannot be removed fails the test instead of ending the
// program.
struct scratchDirS {
    explicit scratchDirS(const char* tag);
    ~scratchDirS();
    scratchDirS(const scratchDirS&) = delete;
    scratchDirS& operator=(const scratchDirS&) = delete;
    std::filesystem::path operator/(const char* name) const { return path / name; }
    std::filesystem::path path;
};

// A file of tests/data.
std::filesystem::path testData(const char* name);
// The file's bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);
// The lines of text from a file or a program's standard output, without
// their line ends (LF, or CR LF as Windows writes text).
std::vector<std::string> textLines(const std::string& text);
// The names in a directory, sorted and separated by blanks.
std::string directoryListing(const std::filesystem::path& dir);
