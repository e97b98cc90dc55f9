// u3dpdf: the command-line host of libu3dpdf.so. See programHelp() for what
// it does; each command lives in its own file.
#include "cliExit.h"
#include "commands.h"
#include "runtime/diag/memTrackReportsC.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

int run(const std::vector<std::string>& args) {
    if (args.empty())
        usageError("", "missing command");
    const std::string& name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp(programHelp());
        return kExitConverted;
    }
    if (name == "--version")
        return runVersion({args.begin() + 1, args.end()});
    for (const cliCommandS& command : cliCommands())
        if (name == command.name)
            return command.run({args.begin() + 1, args.end()});
    usageError("", "unknown command " + name);
}

}  // namespace

int main(int argc, char** argv) {
    // The host's own allocator reports a double release with the frames of
    // the releasing code, as the module's does.
    memTrackReportsStartup();
    try {
        return run({argv + 1, argv + argc});
    } catch (const cliExitS& exit) {
        std::fprintf(stderr, "u3dpdf: %s\n", exit.message.c_str());
        return exit.status;
    } catch (const std::exception& e) {
        // Out of memory in the host itself, most likely.
        std::fprintf(stderr, "u3dpdf: %s\n", e.what());
        return kExitUsage;
    }
}
