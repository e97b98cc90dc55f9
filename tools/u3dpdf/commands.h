// The commands of u3dpdf. Each takes the words after its name and returns
// the exit status (cliExit.h), or throws cliExitS.
#pragma once

#include <string>
#include <vector>

struct cliCommandS {
    const char* name;
    // Its line in the program's help.
    const char* synopsis;
    int (*run)(const std::vector<std::string>& args);
};

int runConvert(const std::vector<std::string>& args);
int runRequest(const std::vector<std::string>& args);
int runCaps(const std::vector<std::string>& args);
int runTree(const std::vector<std::string>& args);
int runInfo(const std::vector<std::string>& args);
int runFormats(const std::vector<std::string>& args);
int runU3d(const std::vector<std::string>& args);
// "u3dpdf --version": not a command of the table, an option of the program.
int runVersion(const std::vector<std::string>& args);

// The commands in the order the help lists them.
const std::vector<cliCommandS>& cliCommands();
// "u3dpdf --help".
std::string programHelp();

// Prints a command's help (or any text) on standard output; an error when
// it cannot.
void printHelp(const std::string& text);
// Prints a command's output on standard output; an error when it cannot.
void printText(const std::string& text);
