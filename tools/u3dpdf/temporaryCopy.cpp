#include "temporaryCopy.h"

#include "cliExit.h"
#include "progress.h"
#include "streamCopy.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// A pipe or a device tells no size: only the bytes so far are shown then.
uint64_t knownSize(const std::string& path) {
    std::error_code unknown;
    const uintmax_t size = std::filesystem::file_size(path, unknown);
    return unknown ? 0 : size;
}

}  // namespace

temporaryCopyC::temporaryCopyC(const std::string& source, progressC& progress) {
    filePtr in(std::fopen(source.c_str(), "rb"));
    if (!in)
        inputError("cannot read " + source + ": " + std::strerror(errno));
    const std::string dir = hostPlatform::temporaryDirectory();
    filePtr named;
    std::string shown;  // the copy in messages
    if (hostPlatform::createUnnamedFile(dir, unnamed_)) {
        path_ = unnamed_.path;
        shown = "a temporary file in " + dir;
    } else {
        {
            const interruptHoldC hold;
            const std::string path = hostPlatform::createTemporaryFile(dir, "u3dpdf-", ".u3d");
            if (path.empty())
                inputError("cannot create a temporary file in " + dir + ": " + std::strerror(errno));
            named_ = std::make_unique<guardedFileC>(path);
        }
        path_ = shown = named_->path();
        named.reset(std::fopen(path_.c_str(), "wb"));
        if (!named)
            inputError("cannot open " + path_ + ": " + std::strerror(errno));
    }
    progress.step("copying");
    std::FILE* out = named ? named.get() : unnamed_.file;
    std::string error = copyStream(in.get(), source, out, shown, &progress, knownSize(source));
    // The last bytes reach the file only here. The unnamed copy stays open:
    // closing it would delete it.
    const bool written = named ? std::fclose(named.release()) == 0 : std::fflush(out) == 0;
    if (!written && error.empty())
        error = "cannot write " + shown + ": " + std::strerror(errno);
    // A failed copy goes with the members.
    if (!error.empty()) {
        hostPlatform::closeFileView(unnamed_);
        inputError(error);
    }
}

temporaryCopyC::~temporaryCopyC() { hostPlatform::closeFileView(unnamed_); }
