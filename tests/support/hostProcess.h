// The operating-system side of acting as a host in the tests: loading the
// module by path, and starting programs (helper hosts, qpdf) with a changed
// environment. hostProcessPosix.cpp uses dlopen and the shell,
// hostProcessWin32.cpp LoadLibraryA and CreateProcessA.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The module at path, or null with the loader's reason in error.
void* openModule(const char* path, std::string& error);
void* moduleSymbol(void* module, const char* name);
// False when the system refuses to unload it.
bool closeModule(void* module);
// Whether address lies in the image of the loaded module.
bool moduleHolds(void* module, const void* address);

// A variable to set, or to remove when value is empty.
struct envChangeS {
    std::string name;
    std::optional<std::string> value;
};

// Exit status and standard output of a finished program.
struct commandResultS {
    int status = -1;
    std::string output;
};

// Runs program with args and waits for it; its standard error goes to the
// test's own.
commandResultS runProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<envChangeS>& env = {});

// A file as programs of the build machine (qpdf) name it: the same path on
// POSIX, the Unix file that Wine maps a Windows path to.
std::string buildMachinePath(const std::filesystem::path& path);

// qpdf is a program of the build machine that the build may not have found
// (U3DPDF_QPDF). A test runs its qpdf checks only when qpdfAvailable() and
// reaches U3DPDF_SKIP_WITHOUT_QPDF() after its other checks, so that without
// qpdf those still run and the test is reported skipped, naming qpdf, unless
// they failed.
bool qpdfAvailable();
#define U3DPDF_SKIP_WITHOUT_QPDF()                                                             \
    do {                                                                                       \
        if (!qpdfAvailable())                                                                  \
            GTEST_SKIP() << "qpdf was not found when the build was configured (U3DPDF_QPDF): " \
                            "the PDF checks that need it did not run";                         \
    } while (0)

// Runs qpdf with args (files named by buildMachinePath).
commandResultS runQpdf(const std::vector<std::string>& args);

#if !defined(_WIN32)
// Runs a command through the shell; its exit status and standard output.
commandResultS runCommand(const std::string& command);
// The word in single quotes, as the shell takes it literally.
std::string shellQuoted(const std::string& word);
#endif
