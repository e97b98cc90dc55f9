#include "scaleOption.h"

#include "cliExit.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

double scaleOption(const cliArgsC& args, const char* command) {
    if (!args.has("--scale"))
        return 1;
    const std::string word = args.value("--scale");
    errno = 0;
    char* end = nullptr;
    const double factor = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(factor) || factor <= 0)
        usageError(command, "--scale: not a positive number: " + word);
    return factor;
}
