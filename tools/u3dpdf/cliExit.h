// How a command ends early: an exit status and the one line that explains
// it. Commands throw it; main prints "u3dpdf: " and the message on standard
// error and exits with the status.
#pragma once

#include <string>

// The exit statuses of u3dpdf.
enum cliStatus : int {
    kExitConverted = 0,    // the module returned 1 (or the command succeeded)
    kExitModuleFailed = 1, // the module returned 0
    kExitUsage = 2,        // bad command line, unreadable input, module not loadable
};

struct cliExitS {
    int status;
    std::string message;
};

// A usage error, with the hint where the command's help is.
[[noreturn]] void usageError(const std::string& command, const std::string& message);
// Input that cannot be read or understood, or a module that cannot be loaded.
[[noreturn]] void inputError(const std::string& message);
