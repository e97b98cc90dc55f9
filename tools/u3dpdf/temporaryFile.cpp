#include "temporaryFile.h"

#include "cliExit.h"

#include <cerrno>
#include <cstring>

temporaryFileC::temporaryFileC() {
    const std::string dir = hostPlatform::temporaryDirectory();
    if (hostPlatform::createUnnamedFile(dir, unnamed_)) {
        path_ = unnamed_.path;
        shown_ = "a temporary file in " + dir;
        return;
    }
    {
        const interruptHoldC hold;
        const std::string path = hostPlatform::createTemporaryFile(dir, "u3dpdf-", ".u3d");
        if (path.empty())
            inputError("cannot create a temporary file in " + dir + ": " + std::strerror(errno));
        named_ = std::make_unique<guardedFileC>(path);
    }
    path_ = shown_ = named_->path();
    namedFile_.reset(std::fopen(path_.c_str(), "wb"));
    if (!namedFile_)
        inputError("cannot open " + path_ + ": " + std::strerror(errno));
}

temporaryFileC::~temporaryFileC() { hostPlatform::closeFileView(unnamed_); }

std::string temporaryFileC::finishWriting() {
    const bool written = named_ ? std::fclose(namedFile_.release()) == 0 : std::fflush(unnamed_.file) == 0;
    return written ? std::string() : "cannot write " + shown_ + ": " + std::strerror(errno);
}
