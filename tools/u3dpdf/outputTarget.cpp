#include "outputTarget.h"

#include "cliExit.h"
#include "hostPlatform.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

outputTargetS outputTarget(const std::string& command, const std::string& option, const std::string& input,
                           const char* extension) {
    if (option == "-") {
        if (hostPlatform::isTerminal(stdout))
            usageError(command, "standard output is a terminal: redirect it, or name a file with -o");
        return {true, {}, "standard output"};
    }
    std::error_code ec;
    if (!fs::is_directory(option, ec))
        return {false, option, option};
    const std::string path = (fs::path(option) / fs::path(input).filename().replace_extension(extension)).string();
    return {false, path, path};
}
