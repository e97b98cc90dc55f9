#include "standardOutput.h"

#include "cliExit.h"
#include "hostPlatform.h"
#include "streamCopy.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

std::string reservedName(const char* extension) {
    const std::string dir = hostPlatform::temporaryDirectory();
    const std::string stem = dir + "/u3dpdf-" + std::to_string(hostPlatform::processId()) + "-";
    // A name with this process's id can only be left over from a process
    // that had the same id before: skipped, not replaced.
    std::error_code ec;
    for (int n = 0;; ++n) {
        std::string path = stem + std::to_string(n) + extension;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
            return path;
    }
}

}  // namespace

standardOutputC::standardOutputC(const char* extension) : file_(reservedName(extension)) {}

void standardOutputC::deliver() {
    filePtr in(std::fopen(path().c_str(), "rb"));
    if (!in)
        inputError("cannot read " + path() + ": " + std::strerror(errno));
    // Where the system lets an open file lose its name, it goes at once:
    // then not even a kill while copying leaves it behind.
    {
        const interruptHoldC hold;
        if (std::remove(path().c_str()) == 0)
            file_.release();
    }
    hostPlatform::setBinaryMode(stdout);
    std::string error = copyStream(in.get(), path(), stdout, "standard output");
    if (error.empty() && std::fflush(stdout) != 0)
        error = std::string("cannot write standard output: ") + std::strerror(errno);
    if (!error.empty())
        inputError(error);
}
