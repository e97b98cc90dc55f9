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

// Runs qpdf, a program of the build machine, with args (files named by
// buildMachinePath).
commandResultS runQpdf(const std::vector<std::string>& args);
