#include "cliExit.h"

void usageError(const std::string& command, const std::string& message) {
    const std::string help = command.empty() ? "u3dpdf --help" : "u3dpdf " + command + " --help";
    throw cliExitS{kExitUsage, message + " (see " + help + ")"};
}

void inputError(const std::string& message) { throw cliExitS{kExitUsage, message}; }
